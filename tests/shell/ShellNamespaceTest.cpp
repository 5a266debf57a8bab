// The namespace behind the folder tree, headless: ID lists, the mount table, the
// top level over a fake machine, folder listing and order, and the folder verbs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "TempDir.h"
#include "shell/ContextVerbs.h"
#include "shell/IdList.h"
#include "shell/MountTable.h"
#include "shell/NaturalOrder.h"
#include "shell/ShellFolder.h"

namespace tt::shell {
namespace {

using test::TempDir;
using Bytes = std::vector<std::uint8_t>;

TEST(IdListTest, LayoutByteForByte) {
    const Bytes terminator = {0, 0};
    const Bytes a = {4, 0, 'a', 'b', 0, 0};
    const Bytes b = {3, 0, 'c', 5, 0, 'd', 'e', 'f', 0, 0};
    EXPECT_EQ(GetIdListSize(nullptr), 0u);
    EXPECT_EQ(GetIdListSize(terminator.data()), 2u);
    EXPECT_EQ(GetIdListSize(b.data()), 10u);
    EXPECT_EQ(ConcatIdLists(nullptr, a.data()), a);
    EXPECT_EQ(ConcatIdLists(terminator.data(), a.data()), a);
    EXPECT_EQ(ConcatIdLists(a.data(), b.data()),
              (Bytes{4, 0, 'a', 'b', 3, 0, 'c', 5, 0, 'd', 'e', 'f', 0, 0}));
    // The first record and the two bytes after it.
    EXPECT_EQ(CopyItemId(a.data()), a);
    EXPECT_EQ(CopyItemId(b.data()), (Bytes{3, 0, 'c', 5, 0}));
    EXPECT_EQ(MakeItemId("ab"), a);
    EXPECT_EQ(ItemPayload(b.data()), "c");
    EXPECT_TRUE(MakeItemId(std::string(0xFFFE, 'x')).empty());
}

TEST(MountTableTest, ParsesAndClassifies) {
    const std::string table =
        "26 1 254:0 / / rw - ext4 /dev/vda rw\n"
        "21 26 0:20 / /proc rw - proc proc rw\n"
        "30 22 0:27 / /sys/fs/cgroup rw - tmpfs tmpfs rw\n"
        "40 26 8:17 / /media/me/MY\\040STICK rw,nosuid shared:7 - vfat /dev/sdb1 rw\n"
        "41 26 0:50 / /mnt/floppy rw - fuse.fusefat fusefat rw\n"
        "42 26 0:51 / /home/me/share rw - cifs //server/music rw\n"
        "43 26 0:52 / /srv/nfs rw - nfs4 host:/export rw\n"
        "44 26 8:2 / /data rw - ext4 /dev/sda2 rw\n"
        "45 26 0:53 / /run/user/1000/doc rw - fuse.portal portal rw\n"
        "46 26 7:3 / /snap/core/1 ro - squashfs /dev/loop3 ro\n"
        "47 26 0:54 / /var/lib/docker/overlay2/x/merged rw - overlay overlay rw\n"
        "48 26 0:55 / /mnt/ram rw - tmpfs tmpfs rw\n"
        "49 26 0:56 / /home/me/app rw - fuse.appimage app rw\n"
        "broken line\n";
    const std::vector<MountEntry> entries = ParseMountInfo(table);
    ASSERT_EQ(entries.size(), 13u);
    EXPECT_EQ(entries[3].mountPoint, "/media/me/MY STICK");
    EXPECT_EQ(entries[3].fsType, "vfat");
    EXPECT_EQ(entries[3].source, "/dev/sdb1");
    const std::vector<std::string> roots = {"/media", "/run/media", "/mnt"};
    const std::string expected = "/XXRRNNLXXXXX";
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(static_cast<char>(ClassifyMount(entries[i], roots)), expected[i])
            << entries[i].mountPoint;
}

TEST(NaturalOrderTest, CountsAndIgnoresCase) {
    const std::vector<std::pair<std::string, std::string>> ascending = {{"Track 2", "Track 10"},
                                                                        {"track 2", "Track 3"},
                                                                        {"a", "B"},
                                                                        {"x9", "x009y"},
                                                                        {"007", "8"},
                                                                        {"Song", "Songs"},
                                                                        {"ABC", "abc"},
                                                                        {"b01", "b1"},
                                                                        {"", "a"},
                                                                        {"1", "a"},
                                                                        {"Z", "\xc3\xa4"}};
    for (const auto& [low, high] : ascending) {
        EXPECT_LT(NaturalCompare(low, high), 0) << low << " < " << high;
        EXPECT_GT(NaturalCompare(high, low), 0) << high << " > " << low;
    }
    EXPECT_EQ(NaturalCompare("Track 10", "Track 10"), 0);
}

class ShellFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* folder :
             {"home", "home/Music", "home/Music/Track 10", "home/Music/Track 2",
              "home/Music/.cache", "home/Music/Track 2/.hidden", "desk", "desk/Projects", "disk",
              "gvfs", "gvfs/gvfs", "gvfs/gvfs/sftp:host=nas"})
            ASSERT_EQ(::mkdir((dir / folder).c_str(), 0755), 0) << folder;
        test::WriteWholeFile(dir / "home/Music/song.mid", "x");
        test::WriteWholeFile(dir / "desk/note.txt", "x");
        ASSERT_EQ(::symlink("Track 10", (dir / "home/Music/Link").c_str()), 0);
        auto env = std::make_shared<Environment>();
        env->home = dir / "home";
        env->desktop = dir / "desk";
        env->runtimeDir = dir / "gvfs";
        env->removableRoots = {dir / "media"};
        env->labelDir = dir / "nolabels";
        // The stick's mount point does not exist: it must not be looked at.
        env->readMountTable = [this] {
            return "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                   "2 1 8:2 / " +
                   dir / "disk" +
                   " rw - ext4 /dev/sda2 rw\n"
                   "3 1 8:17 / " +
                   dir / "media/STICK" +
                   " rw - vfat /dev/sdb1 rw\n"
                   "4 1 0:40 / /net/music rw - nfs4 nas:/music rw\n"
                   "5 1 0:41 / /proc rw - proc proc rw\n";
        };
        environment = env;
    }

    struct Child {
        std::string name;
        std::uint32_t attributes;
        std::string path;
    };
    // The children of `folder` in sibling order.
    static std::vector<Child> Children(const ShellFolder& folder) {
        std::vector<IdList> ids = folder.EnumObjects();
        std::sort(ids.begin(), ids.end(), [&](const IdList& a, const IdList& b) {
            return folder.CompareIDs(a.data(), b.data()) < 0;
        });
        std::vector<Child> children;
        for (const IdList& id : ids)
            children.push_back({folder.GetDisplayNameOf(id.data(), NameKind::normal).value(),
                                folder.GetAttributesOf(id.data(), 0xF0000000),
                                folder.PathOf(id.data())});
        return children;
    }
    static std::vector<std::string> Names(const std::vector<Child>& children) {
        std::vector<std::string> names;
        for (const Child& child : children)
            names.push_back(child.name);
        return names;
    }
    std::shared_ptr<ShellFolder> Bind(const ShellFolder& parent, const std::string& name) {
        for (const IdList& id : parent.EnumObjects()) {
            if (parent.GetDisplayNameOf(id.data(), NameKind::normal) == name)
                return parent.BindToObject(id.data());
        }
        return nullptr;
    }

    TempDir dir;
    std::shared_ptr<const Environment> environment;
};

TEST_F(ShellFolderTest, TopLevelComputerAndNetwork) {
    const auto desktop = ShellFolder::Desktop(environment);
    const auto top = Children(*desktop);
    EXPECT_EQ(Names(top), (std::vector<std::string>{"Home", "Computer", "Network", "Projects"}));
    constexpr std::uint32_t virtualFolder = kAttrFolder | kAttrHasSubfolder | kAttrFileSysAncestor;
    EXPECT_EQ(top[1].attributes, virtualFolder);
    EXPECT_EQ(top[1].path, "");
    EXPECT_EQ(top[0].path, dir / "home");
    EXPECT_EQ(top[3].attributes, kAttrFolder | kAttrFileSystem);

    const auto computer = Children(*Bind(*desktop, "Computer"));
    EXPECT_EQ(Names(computer),
              (std::vector<std::string>{dir / "disk", dir / "media/STICK", "File System"}));
    EXPECT_EQ(computer[0].attributes, kAttrFolder | kAttrFileSystem);  // looked up: only files
    EXPECT_EQ(computer[1].attributes, kAttrFolder | kAttrFileSystem | kAttrHasSubfolder);
    EXPECT_EQ(computer[2].path, "/");

    const auto network = Children(*Bind(*desktop, "Network"));
    EXPECT_EQ(Names(network), (std::vector<std::string>{"/net/music", "sftp:host=nas"}));
    EXPECT_EQ(network[1].path, dir / "gvfs/gvfs/sftp:host=nas");

    // Listed in its parent folder, a mounted stick is not looked into either.
    ASSERT_EQ(::mkdir((dir / "media").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "media/STICK").c_str(), 0755), 0);
    const auto sticks =
        Children(ShellFolder(ShellFolder::Kind::fileSystem, dir / "media", environment));
    ASSERT_EQ(sticks.size(), 1u);
    EXPECT_EQ(sticks[0].attributes, kAttrFolder | kAttrFileSystem | kAttrHasSubfolder);
}

TEST_F(ShellFolderTest, FileSystemFoldersAndVerbs) {
    const auto home = Bind(*ShellFolder::Desktop(environment), "Home");
    const auto music = Bind(*home, "Music");
    ASSERT_TRUE(music);
    const auto children = Children(*music);
    // Hidden folders and files are left out, a link to a folder counts, digits count.
    EXPECT_EQ(Names(children), (std::vector<std::string>{"Link", "Track 2", "Track 10"}));
    EXPECT_EQ(children[1].attributes, kAttrFolder | kAttrFileSystem);  // only a hidden one
    EXPECT_TRUE(HasSubfolders(dir / "home/Music/Track 2", true));
    const IdList id = music->EnumObjects().front();
    EXPECT_EQ(VerbsOf(*music, id.data()).size(), 5u);
    // Home can be opened but not renamed or trashed; a virtual folder only opened.
    const auto desktop = ShellFolder::Desktop(environment);
    const std::vector<IdList> top = desktop->EnumObjects();
    EXPECT_EQ(VerbsOf(*desktop, top[0].data()),
              (std::vector<Verb>{Verb::open, Verb::newFolder, Verb::copyPath}));
    EXPECT_EQ(VerbsOf(*desktop, top[1].data()), std::vector<Verb>{Verb::open});

    // Renaming never replaces, even an empty folder; names must be single names.
    EXPECT_EQ(RenameFolder(dir / "home/Music/Track 2", "Track 10"), EEXIST);
    EXPECT_EQ(RenameFolder(dir / "home/Music/Track 2", "../x"), EINVAL);
    EXPECT_EQ(CreateFolder(dir / "home/Music", ".."), EINVAL);
    EXPECT_EQ(CreateFolder(dir / "home/Music", "New Folder"), 0);
    EXPECT_EQ(UnusedFolderName(dir / "home/Music"), "New Folder (2)");
    EXPECT_EQ(RenameFolder(dir / "home/Music/New Folder", "Track 3"), 0);
    EXPECT_EQ(Names(Children(*music)),
              (std::vector<std::string>{"Link", "Track 2", "Track 3", "Track 10"}));
}

}  // namespace
}  // namespace tt::shell
