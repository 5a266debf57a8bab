// Renaming on a real FAT floppy image, mounted through fusefat: names that ignore
// letter case, a new inode number for every spelling of a name, no no-replace
// rename and no hard links, and a medium that can be swapped between two actions.
// Where images cannot be made or mounted here, the tests say why and skip.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "RunProgram.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "engine/Messages.h"

extern char** environ;

namespace tt {
namespace {

using namespace test;
using V = std::vector<std::string>;

// The path of an installed program, searched in PATH and the system folders;
// empty when there is none.
std::string FindProgram(const std::string& name) {
    std::string dirs = "/usr/sbin:/sbin:/usr/bin:/bin";
    if (const char* path = std::getenv("PATH"))
        dirs = std::string(path) + ":" + dirs;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const auto colon = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, colon - start) + "/" + name;
        if (colon > start && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = colon + 1;
    }
    return {};
}

bool IsMountPoint(const std::string& folder) {
    struct stat inside {};
    struct stat parent {};
    return ::stat(folder.c_str(), &inside) == 0 && ::stat((folder + "/..").c_str(), &parent) == 0 &&
           inside.st_dev != parent.st_dev;
}

// A FAT image mounted at a folder by a fusefat process that runs in the
// foreground; unmounted when the object goes away, also when a test fails.
class FatMount {
  public:
    FatMount(const std::string& fusefat, const std::string& image, const std::string& mountPoint,
             const std::string& logPath)
        : m_mountPoint(mountPoint) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const char* argv[] = {fusefat.c_str(),    "-f",   "-o", "rw+", image.c_str(),
                              mountPoint.c_str(), nullptr};
        const int spawned = ::posix_spawn(&m_pid, fusefat.c_str(), &actions, nullptr,
                                          const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            throw std::runtime_error("cannot start fusefat");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!IsMountPoint(mountPoint)) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                throw std::runtime_error("fusefat ended: " + ReadWholeFile(logPath));
            }
            if (std::chrono::steady_clock::now() > deadline) {
                Unmount();
                throw std::runtime_error("fusefat did not mount the image in time");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    FatMount(const FatMount&) = delete;
    FatMount& operator=(const FatMount&) = delete;
    ~FatMount() { Unmount(); }

    // Unmounts and waits until fusefat has written everything back and ended.
    void Unmount() {
        if (m_pid < 0)
            return;
        if (IsMountPoint(m_mountPoint)) {
            bool done = false;
            for (const char* tool : {"umount", "fusermount"}) {
                const std::string path = FindProgram(tool);
                if (path.empty() || done)
                    continue;
                const V argv = tool == std::string("umount") ? V{path, m_mountPoint}
                                                             : V{path, "-u", m_mountPoint};
                done = RunProgram(argv).exitCode == 0;
            }
            if (!done)
                ::kill(m_pid, SIGTERM);
        } else {
            ::kill(m_pid, SIGTERM);
        }
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
    }

  private:
    std::string m_mountPoint;
    pid_t m_pid = -1;
};

class FatImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::access("/dev/fuse", R_OK | W_OK) != 0)
            GTEST_SKIP() << "FAT image tests skipped: /dev/fuse is not usable here";
        m_mkfs = FindProgram("mkfs.fat");
        m_fusefat = FindProgram("fusefat");
        m_fsck = FindProgram("fsck.fat");
        if (m_mkfs.empty() || m_fusefat.empty())
            GTEST_SKIP() << "FAT image tests skipped: mkfs.fat and fusefat are needed "
                            "(Debian packages dosfstools and fusefat)";
        if (::mkdir(mnt.c_str(), 0700) != 0)
            throw std::runtime_error("cannot make " + mnt);
        const std::string why = MakeImage(imageA);
        if (!why.empty())
            GTEST_SKIP() << "FAT image tests skipped: " << why;
        try {
            Mount(imageA);
        } catch (const std::exception& error) {
            GTEST_SKIP() << "FAT image tests skipped: cannot mount an image: " << error.what();
        }
    }

    // A fresh empty 1.44 MB FAT12 floppy image; the error text, or empty.
    std::string MakeImage(const std::string& image) {
        const auto result = RunProgram({m_mkfs, "-C", "-F", "12", image, "1440"});
        return result.exitCode == 0 ? std::string() : "mkfs.fat failed: " + result.err;
    }

    void Mount(const std::string& image) {
        mount.reset();
        mount.emplace(m_fusefat, image, mnt, dir / "fusefat.log");
    }

    // Unmounts, checks the image's structure when fsck.fat is there, and mounts it
    // again, so what the test reads next comes from the medium, not from a cache.
    void CheckAndRemount(const std::string& image) {
        mount.reset();
        if (!m_fsck.empty()) {
            const auto result = RunProgram({m_fsck, "-n", image});
            EXPECT_EQ(result.exitCode, 0) << "the image is damaged:\n" << result.out << result.err;
        }
        Mount(image);
    }

    TempDir dir;
    const std::string mnt = dir / "mnt";
    const std::string imageA = dir / "a.img";
    const std::string imageB = dir / "b.img";
    std::optional<FatMount> mount;  // after dir: unmounted before dir is removed
    EngineWithUi t;

  private:
    std::string m_mkfs;
    std::string m_fusefat;
    std::string m_fsck;
};

TEST_F(FatImageTest, CaseOnlyRenameAndCompanions) {
    WriteWholeFile(mnt + "/song.mid", MidiSong("Song"));
    WriteWholeFile(mnt + "/song.txt", "la la la");
    WriteWholeFile(mnt + "/track.mid", MidiSong("Tango"));
    WriteWholeFile(mnt + "/track.txt", "tango lyrics");
    WriteWholeFile(mnt + "/TRACK.KAR", "karaoke");
    WriteWholeFile(mnt + "/twin.MID", MidiSong("SONG"));  // Song.mid in another case
    CheckAndRemount(imageA);
    t.Scan(mnt);
    ASSERT_EQ(t.engine.songFiles().count(), 3);
    t.ui.SelectAll();
    t.engine.RenameSelectedFiles(false);

    // The file system finds "Song.mid" already there: it is the song itself, so
    // there is no question and the case-only rename is carried out. The twin
    // titled SONG is numbered, as names ignore case here.
    EXPECT_EQ(t.ui.questions, V{});
    EXPECT_EQ(t.ui.warnings, V{});
    EXPECT_EQ(ListFolder(mnt),
              (V{"SONG_1.MID", "Song.mid", "Song.txt", "Tango.kar", "Tango.mid", "Tango.txt"}));
    ASSERT_NE(t.IndexOf("Song.mid"), -1);
    ASSERT_NE(t.IndexOf("Tango.mid"), -1);
    EXPECT_EQ(t.engine.songFiles().ElementAt(t.IndexOf("Song.mid")).path, mnt + "/Song.mid");
    EXPECT_TRUE(t.ui.selected.empty());

    // On the medium itself the files and their contents survived; a new file
    // written next must not take over their clusters.
    CheckAndRemount(imageA);
    WriteWholeFile(mnt + "/later.dat", std::string(3000, 'x'));
    CheckAndRemount(imageA);
    EXPECT_EQ(ListFolder(mnt), (V{"SONG_1.MID", "Song.mid", "Song.txt", "Tango.kar", "Tango.mid",
                                  "Tango.txt", "later.dat"}));
    EXPECT_EQ(ReadWholeFile(mnt + "/Song.mid"), MidiSong("Song"));
    EXPECT_EQ(ReadWholeFile(mnt + "/SONG_1.MID"), MidiSong("SONG"));
    EXPECT_EQ(ReadWholeFile(mnt + "/Song.txt"), "la la la");
    EXPECT_EQ(ReadWholeFile(mnt + "/Tango.mid"), MidiSong("Tango"));
    EXPECT_EQ(ReadWholeFile(mnt + "/Tango.txt"), "tango lyrics");
    EXPECT_EQ(ReadWholeFile(mnt + "/Tango.kar"), "karaoke");
}

// fusefat stores no name holding a '|' or a character beyond ASCII, and its rename
// to one removes the source before it fails: neither tool nor window may lose it.
TEST_F(FatImageTest, RefusedTitleLeavesTheSong) {
    for (const std::string title : {"W\xC3\xA4rme", "Rock|Pop"}) {
        const std::string refused = "Access to " + mnt + "/" + title + ".mid was denied.";
        const std::string name = title.substr(0, 1) + ".mid";
        WriteWholeFile(mnt + "/" + name, MidiSong(title));
        EXPECT_EQ(RunCli({"rename", mnt, name}).err, refused + "\n" + name + ": left as it is\n");
        t.ui.warnings.clear();
        t.ScanAndSelectAll(mnt);
        t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(t.ui.warnings, V{refused});
    }
    CheckAndRemount(imageA);
    EXPECT_EQ(ListFolder(mnt), (V{"R.mid", "W.mid"}));
    EXPECT_EQ(ReadWholeFile(mnt + "/W.mid"), MidiSong("W\xC3\xA4rme"));
}

TEST_F(FatImageTest, OverwriteAnsweredNoThenYes) {
    WriteWholeFile(mnt + "/old.mid", MidiSong("Waltz"));
    WriteWholeFile(mnt + "/WALTZ.MID", MidiSong("Something Else"));
    ASSERT_EQ(::mkdir((mnt + "/backup").c_str(), 0700), 0);
    WriteWholeFile(mnt + "/backup/Waltz.mid", "older backup");
    CheckAndRemount(imageA);
    t.Scan(mnt);
    std::int32_t row = t.IndexOf("old.mid");
    ASSERT_NE(row, -1);

    // The target is a listed song under another spelling: never replaced, and no
    // question is asked for it.
    t.ui.selected = {row};
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};
    t.engine.RenameSelectedFiles(false);
    EXPECT_EQ(t.ui.questions, V{});
    EXPECT_EQ(t.ui.selected, std::set<std::int32_t>{row});
    EXPECT_EQ(ListFolder(mnt), (V{"WALTZ.MID", "backup", "old.mid"}));
    EXPECT_EQ(ReadWholeFile(mnt + "/WALTZ.MID"), MidiSong("Something Else"));

    // Copy into the backup folder, answered Yes: replaced in one step.
    t.ui.pickerAnswers = {mnt + "/backup"};
    t.engine.RenameSelectedFiles(true);
    EXPECT_EQ(t.ui.questions, V{OverwriteQuestion(mnt + "/backup/Waltz.mid")});
    EXPECT_EQ(ListFolder(mnt + "/backup"), V{"Waltz.mid"});

    // A file the list does not show (written after the scan) under another
    // spelling: a real collision, asked about; No keeps it, Yes replaces it.
    ASSERT_EQ(::unlink((mnt + "/WALTZ.MID").c_str()), 0);
    t.Scan(mnt);
    row = t.IndexOf("old.mid");
    WriteWholeFile(mnt + "/WALTZ.MID", MidiSong("Something Else"));
    for (const OverwriteAnswer answer : {OverwriteAnswer::no, OverwriteAnswer::yes}) {
        t.ui.questions.clear();
        t.ui.selected = {row};
        t.ui.overwriteAnswers = {answer};
        t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(t.ui.questions, V{OverwriteQuestion(mnt + "/Waltz.mid")});
        EXPECT_EQ(t.ui.selected.size(), answer == OverwriteAnswer::no ? 1u : 0u);
    }
    EXPECT_EQ(t.ui.warnings, V{});

    CheckAndRemount(imageA);
    const V names = ListFolder(mnt);
    ASSERT_EQ(names.size(), 2u) << ::testing::PrintToString(names);
    EXPECT_EQ(names[1], "backup");
    EXPECT_EQ(ReadWholeFile(mnt + "/" + names[0]), MidiSong("Waltz"));
    EXPECT_EQ(ReadWholeFile(mnt + "/backup/Waltz.mid"), MidiSong("Waltz"));
}

TEST_F(FatImageTest, MediumSwappedBetweenScanAndAction) {
    WriteWholeFile(mnt + "/song.mid", MidiSong("Alpha"));
    WriteWholeFile(mnt + "/song.txt", "alpha lyrics");
    t.ScanAndSelectAll(mnt);

    // The user takes the floppy out and puts in another one.
    mount.reset();
    ASSERT_EQ(MakeImage(imageB), "");
    Mount(imageB);
    WriteWholeFile(mnt + "/song.mid", MidiSong("Beta with a longer title"));
    WriteWholeFile(mnt + "/other.mid", MidiSong("Gamma"));
    CheckAndRemount(imageB);

    t.engine.RenameSelectedFiles(false);
    EXPECT_EQ(t.ui.warnings, V{SourceChangedMessage()});
    EXPECT_EQ(t.ui.questions, V{});
    // The list now shows the medium that is in the drive.
    ASSERT_EQ(t.engine.songFiles().count(), 2);
    ASSERT_NE(t.IndexOf("song.mid"), -1);
    EXPECT_EQ(t.engine.songFiles().ElementAt(t.IndexOf("song.mid")).newName,
              "Beta with a longer title.mid");
    EXPECT_NE(t.IndexOf("other.mid"), -1);
    EXPECT_TRUE(t.ui.selected.empty());
    EXPECT_EQ(ListFolder(mnt), (V{"other.mid", "song.mid"}));

    // Neither medium was touched.
    CheckAndRemount(imageB);
    EXPECT_EQ(ListFolder(mnt), (V{"other.mid", "song.mid"}));
    EXPECT_EQ(ReadWholeFile(mnt + "/song.mid"), MidiSong("Beta with a longer title"));
    CheckAndRemount(imageA);
    EXPECT_EQ(ListFolder(mnt), (V{"song.mid", "song.txt"}));
    EXPECT_EQ(ReadWholeFile(mnt + "/song.mid"), MidiSong("Alpha"));
}

// The command-line tool's rename cut off by SIGKILL at every step (the case-only
// rename's temporary name included), put right by the next listing and undone; the
// run that finished is undone with the medium mounted again in between.
TEST_F(FatImageTest, UndoAndRecoveryOnTheMedium) {
    WriteWholeFile(mnt + "/song.mid", MidiSong("SONG"));
    WriteWholeFile(mnt + "/song.txt", "la la la");
    WriteWholeFile(mnt + "/track.mid", MidiSong("Tango"));
    WriteWholeFile(mnt + "/TRACK.KAR", "karaoke");
    const Contents before = FolderContents(mnt);
    for (int step = 1; step < 60; ++step) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        ::setenv("TUNETITLER_KILL_AT_STEP", std::to_string(step).c_str(), 1);
        const auto run = RunCli({"rename", mnt});
        ::unsetenv("TUNETITLER_KILL_AT_STEP");
        EXPECT_EQ(RunCli({"list", mnt}).exitCode, 0);
        for (const std::string& name : ListFolder(mnt))
            EXPECT_NE(name.front(), '.') << name;
        if (run.exitCode == 0) {
            EXPECT_EQ(ListFolder(mnt), (V{"SONG.mid", "SONG.txt", "Tango.kar", "Tango.mid"}));
            CheckAndRemount(imageA);
        }
        const auto undo = RunCli({"undo", mnt});
        EXPECT_EQ(FolderContents(mnt), before);
        if (run.exitCode == 0) {
            EXPECT_EQ(undo.exitCode, 0) << undo.err;
            break;
        }
    }
    CheckAndRemount(imageA);
    EXPECT_EQ(FolderContents(mnt), before);
}

TEST_F(FatImageTest, CaseTwinsCopiedToTheMediumAreNumbered) {
    // Titles that differ in case alone, copied from a folder where case counts: the
    // second copy is numbered, so both songs reach the medium, under the names printed.
    TempDir songs;
    WriteWholeFile(songs / "a.mid", MidiSong("Tune"));
    WriteWholeFile(songs / "b.mid", MidiSong("TUNE"));
    WriteWholeFile(songs / "b.txt", "TUNE lyrics");
    const auto result = RunCli({"copy", "--to", mnt, songs.path()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "a.mid -> Tune.mid\nb.mid -> TUNE_1.mid\nb.txt -> TUNE_1.txt\n");
    CheckAndRemount(imageA);
    EXPECT_EQ(ListFolder(mnt), (V{"TUNE_1.mid", "TUNE_1.txt", "Tune.mid"}));
    EXPECT_EQ(ReadWholeFile(mnt + "/TUNE_1.mid"), MidiSong("TUNE"));
}

}  // namespace
}  // namespace tt
