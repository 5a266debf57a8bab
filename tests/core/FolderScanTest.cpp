#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "PassThroughFileSystem.h"
#include "ScriptedUi.h"
#include "SongBytes.h"
#include "TempDir.h"
#include "engine/RenameEngine.h"
#include "platform/FileError.h"
#include "text/NameText.h"
#include "text/UiLanguage.h"

namespace tt {
namespace {

using namespace songbytes;
using V = std::vector<std::string>;

// Records which folders are listed and which files are opened, and can make the
// reading of one file fail.
class WatchedFileSystem final : public test::PassThroughFileSystem {
  public:
    V listed;
    V opened;
    int lookUps = 0;
    std::string failReadOf;

    std::optional<FileInfo> Stat(const std::string& path) override {
        ++lookUps;
        return PassThroughFileSystem::Stat(path);
    }

    std::optional<std::vector<std::string>> ListNames(const std::string& folder) override {
        listed.push_back(folder);
        return PassThroughFileSystem::ListNames(folder);
    }
    FileHandle OpenRead(const std::string& path) override {
        opened.push_back(path);
        return PassThroughFileSystem::OpenRead(path);
    }
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        if (!opened.empty() && opened.back() == failReadOf)
            throw FileError(FileErrorCause::hardIO, {}, EIO);
        return PassThroughFileSystem::Read(file, buffer, size);
    }
};

class FolderScan : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScriptedUi ui;
    WatchedFileSystem fs;
    RenameEngine engine{fs, ui.FrontEnd()};

    void Write(const std::string& name, const Bytes& bytes) { WriteBytes(dir / name, bytes); }

    void Scan(const std::string& folder, bool mid = true, bool sty = true, bool pat = true) {
        engine.SetFolder(folder);
        engine.SetFileTypes(mid, sty, pat);
        engine.RefreshFileList();
        EXPECT_EQ(ui.waitDepth, 0);
        EXPECT_EQ(ui.rowCount, engine.songFiles().count());
    }

    // The rows as the list view shows them: "old -> new".
    V Rows() const {
        V rows;
        for (std::int32_t i = 0; i < ui.rowCount; ++i) {
            std::string texts[2];
            EXPECT_TRUE(engine.GetRowTexts(i, texts));
            rows.push_back(texts[0] + " -> " + texts[1]);
        }
        return rows;
    }

    V OldNames() const {
        V names;
        for (std::int32_t i = 0; i < engine.songFiles().count(); ++i)
            names.push_back(engine.songFiles().ElementAt(i).fileName);
        return names;
    }
};

// Sets English again when the test ends, whatever happened in it.
struct EnglishAfterwards {
    ~EnglishAfterwards() { SetUiLanguage(UiLanguage::english); }
};

TEST_F(FolderScan, AnEmptyFolderStringEmptiesTheListWithoutSearching) {
    Write("song.mid", MidiFile(TrackName("Blue")));
    Scan(dir.path());
    ASSERT_EQ(engine.songFiles().count(), 1);
    const int clears = ui.clears;
    const int updates = ui.buttonUpdates;

    Scan("");
    EXPECT_EQ(engine.songFiles().count(), 0);
    EXPECT_EQ(engine.songFiles().capacity(), 0);
    EXPECT_EQ(ui.clears, clears + 1);
    EXPECT_EQ(ui.buttonUpdates, updates + 1);
    EXPECT_EQ(fs.listed, V{dir.path()});
    EXPECT_TRUE(ui.warnings.empty());
}

TEST_F(FolderScan, NothingFoundNamesTheKindsSwitchedOn) {
    EnglishAfterwards restore;
    Write("notes.txt", MidiFile(TrackName("Blue")));
    Write("song.midi", MidiFile(TrackName("Blue")));
    struct Case {
        bool mid, sty, pat;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {true, false, false, "No midi files found in this folder!",
         "Keine Midi-Dateien in diesem Verzeichnis vorhanden!"},
        {false, true, false, "No style files found in this folder!",
         "Keine Style-Dateien in diesem Verzeichnis vorhanden!"},
        {false, false, true, "No pattern files found in this folder!",
         "Keine Pattern-Dateien in diesem Verzeichnis vorhanden!"},
        {true, true, false, "No matching files found in this folder!",
         "Keine passenden Dateien in diesem Verzeichnis vorhanden!"},
        {true, false, true, "No matching files found in this folder!",
         "Keine passenden Dateien in diesem Verzeichnis vorhanden!"},
        {true, true, true, "No matching files found in this folder!",
         "Keine passenden Dateien in diesem Verzeichnis vorhanden!"},
        {false, false, false, "No matching files found in this folder!",
         "Keine passenden Dateien in diesem Verzeichnis vorhanden!"},
    };
    for (const Case& c : cases) {
        SetUiLanguage(UiLanguage::english);
        Scan(dir.path(), c.mid, c.sty, c.pat);
        EXPECT_EQ(ui.warnings, V{c.english});
        SetUiLanguage(UiLanguage::german);
        Scan(dir.path(), c.mid, c.sty, c.pat);
        EXPECT_EQ(ui.warnings, (V{c.english, c.german}));
        ui.warnings.clear();
    }
    SetUiLanguage(UiLanguage::english);

    // A MIDI file does not count when only styles are asked for.
    Write("song.mid", MidiFile(TrackName("Blue")));
    Scan(dir.path(), false, true, false);
    EXPECT_EQ(ui.warnings, V{"No style files found in this folder!"});
    // A folder that is missing or is a file behaves like one without song files.
    Scan(dir / "missing");
    Scan(dir / "song.mid");
    EXPECT_EQ(ui.warnings,
              (V{"No style files found in this folder!", "No matching files found in this folder!",
                 "No matching files found in this folder!"}));
    EXPECT_EQ(ui.rowCount, 0);
}

TEST_F(FolderScan, ListsVisibleSongFilesByExtensionIgnoringCase) {
    const Bytes notASong = Text("no song here");
    for (const char* name : {"a.mid", "B.MID", "c.Sty", "d.pAt", "ro.mid", "e.midi", "f.mid.txt",
                             "mid", ".hidden.mid", ".sty"})
        Write(name, notASong);
    ASSERT_EQ(::chmod((dir / "ro.mid").c_str(), 0444), 0);
    ASSERT_EQ(::mkdir((dir / "folder.mid").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("a.mid", (dir / "link.mid").c_str()), 0);
    ASSERT_EQ(::symlink("folder.mid", (dir / "folderlink.sty").c_str()), 0);

    Scan(dir.path());
    EXPECT_EQ(OldNames(), (V{"a.mid", "B.MID", "c.Sty", "d.pAt", "link.mid", "ro.mid"}));
    EXPECT_TRUE(ui.warnings.empty());
    // Titles are read kind by kind (MIDI, style, pattern), each kind in byte order;
    // a folder is opened too, as the open file tells its kind, and passed over.
    EXPECT_EQ(fs.opened, (V{dir / "B.MID", dir / "a.mid", dir / "folder.mid", dir / "link.mid",
                            dir / "ro.mid", dir / "c.Sty", dir / "folderlink.sty", dir / "d.pAt"}));
    // The open file gives size and time: no file is looked up by its path as well.
    EXPECT_EQ(fs.lookUps, 0);

    Scan(dir.path(), false, false, true);
    EXPECT_EQ(OldNames(), V{"d.pAt"});
    Scan(dir.path(), true, true, false);
    EXPECT_EQ(OldNames(), (V{"a.mid", "B.MID", "c.Sty", "link.mid", "ro.mid"}));
}

TEST_F(FolderScan, TitledEntriesComeFirstThenOldNamesIgnoringCase) {
    Write("b.mid", MidiFile(TrackName("Bee")));
    Write("A.mid", MidiFile(EndOfTrack()));
    Write("a_2.mid", MidiFile(TrackName("Two")));
    Write("C.sty", MidiFile(TrackName("Sea")));
    Scan(dir.path());
    EXPECT_EQ(Rows(), (V{"a_2.mid -> Two.mid", "b.mid -> Bee.mid", "C.sty -> Sea.sty",
                         "A.mid -> <no title found>"}));
}

TEST(CompareEntries, TitledFirstThenNamesWithLettersFolded) {
    const auto entry = [](const char* name, bool titled) {
        SongFileEntry e;
        e.fileName = name;
        e.titleFound = titled ? 1 : 0;
        return e;
    };
    EXPECT_LT(CompareEntries(entry("z.mid", true), entry("a.mid", false)), 0);
    EXPECT_GT(CompareEntries(entry("a.mid", false), entry("z.mid", true)), 0);
    // '_' sorts before every letter, upper case included.
    EXPECT_LT(CompareEntries(entry("a_x.mid", true), entry("AB.mid", true)), 0);
    EXPECT_EQ(CompareEntries(entry("SONG.MID", true), entry("song.mid", true)), 0);
    EXPECT_LT(CompareEntries(entry("song.mid", true), entry("song1.mid", true)), 0);
    // Bytes above 0x7F compare unsigned: after every ASCII letter.
    EXPECT_LT(CompareEntries(entry("z.mid", true), entry("\xC3\xA4.mid", true)), 0);
}

// Lists of 300 random names for the sort: short names of few letters, which tie
// often; distinct names; and distinct names in byte order, as a scan takes them
// (mostly rising ignoring case already).
enum class SortInput { ties, distinct, inByteOrder };

class SortEntriesOf : public ::testing::TestWithParam<SortInput> {};

// The gap sort leaves any list in that order, with the same entries; the quicker
// sort leaves it exactly as the gap sort does.
TEST_P(SortEntriesOf, RandomNamesLeaveThemInOrderWithTheSameEntries) {
    std::mt19937 random(7);
    const bool ties = GetParam() == SortInput::ties;
    V names;
    for (int i = 0; i < 300; ++i) {
        std::string name = ties ? "" : std::to_string(random());
        for (int length = 1 + int(random() % 3); length > 0; --length)
            name += "aAbB_"[random() % 5];
        names.push_back(name);
    }
    if (GetParam() == SortInput::inByteOrder)
        std::sort(names.begin(), names.end());
    SongFileList list;
    SongFileList byGaps;
    for (const std::string& name : names) {
        SongFileEntry entry;
        entry.fileName = name;
        entry.titleFound = random() % 2 == 0 ? 1 : 0;
        list.Append(entry);
        byGaps.Append(entry);
    }
    SortEntries(list);
    SortEntriesByGaps(byGaps);
    V sorted;
    for (std::int32_t i = 0; i < list.count(); ++i) {
        sorted.push_back(list.ElementAt(i).fileName);
        EXPECT_EQ(sorted.back(), byGaps.ElementAt(i).fileName) << i;
        if (i > 0) {
            EXPECT_LE(CompareEntries(list.ElementAt(i - 1), list.ElementAt(i)), 0) << i;
        }
    }
    // A sorted list is left as it is.
    SortEntries(list);
    for (std::int32_t i = 0; i < list.count(); ++i)
        EXPECT_EQ(list.ElementAt(i).fileName, sorted[static_cast<std::size_t>(i)]) << i;
    std::sort(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, names);
}

std::string SortInputName(const ::testing::TestParamInfo<SortInput>& info) {
    static const char* const names[] = {"Ties", "Distinct", "InByteOrder"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(SortEntries, SortEntriesOf,
                         ::testing::Values(SortInput::ties, SortInput::distinct,
                                           SortInput::inByteOrder),
                         SortInputName);

TEST_F(FolderScan, NewNameIsTheTitleWithTheOldNamesLastFourCharacters) {
    Write("SONG.MID", MidiFile(TrackName("Blue")));
    Write("u1.mid", MidiFile(TrackName("Untitled")));
    Write("u2.mid", MidiFile(TrackName("  EMPTY ")));
    Write("u3.mid", MidiFile(TrackName("untitled.")));
    // The track name is the title, and it is rejected; the text is not consulted.
    Write("u4.mid", MidiFile(Cat({TrackName("untitled"), TextEvent("Real Song")})));
    Write("blank.pat", PatternFile("        ", 0));
    Write("x.mid", MidiFile(TrackName("Same")));
    Write("y.mid", MidiFile(TrackName("Same")));
    Scan(dir.path());
    // A blank pattern name would leave a hidden ".pat": no title either.
    EXPECT_EQ(Rows(), (V{"SONG.MID -> Blue.MID", "u3.mid -> untitled_.mid", "x.mid -> Same.mid",
                         "y.mid -> Same_1.mid", "blank.pat -> <no title found>",
                         "u1.mid -> <no title found>", "u2.mid -> <no title found>",
                         "u4.mid -> <no title found>"}));
    for (std::int32_t i = 4; i < engine.songFiles().count(); ++i) {
        EXPECT_EQ(engine.songFiles().ElementAt(i).titleFound, 0);
        EXPECT_EQ(engine.songFiles().ElementAt(i).newName, "");
    }

    // A rebuild replaces the rows; it does not add to them.
    Scan(dir.path(), true, true, false);
    EXPECT_EQ(ui.rowCount, 7);
}

TEST_F(FolderScan, RowTextsOutsideTheListAreLeftAlone) {
    Write("song.mid", MidiFile(TrackName("Blue")));
    Scan(dir.path());
    std::string texts[2] = {"keep", "these"};
    EXPECT_TRUE(engine.GetRowTexts(1, texts));
    EXPECT_TRUE(engine.GetRowTexts(-1, texts));
    EXPECT_EQ(texts[0], "keep");
    EXPECT_EQ(texts[1], "these");
    EXPECT_TRUE(engine.GetRowTexts(0, texts));
    EXPECT_EQ(texts[0], "song.mid");
    EXPECT_EQ(texts[1], "Blue.mid");
}

TEST_F(FolderScan, ATitleThatCannotBeReadIsReportedAndTheFileStillListed) {
    Write("bad.mid", MidiFile(TrackName("Bad")));
    Write("good.mid", MidiFile(TrackName("Good")));
    fs.failReadOf = dir / "bad.mid";
    Scan(dir.path());
    EXPECT_EQ(Rows(), (V{"good.mid -> Good.mid", "bad.mid -> <no title found>"}));
    EXPECT_EQ(ui.readErrors,
              V{"A hardware I/O error was reported while accessing " + (dir / "bad.mid") + "."});
}

TEST_F(FolderScan, SizeAndTimeAreTakenFromTheFile) {
    const std::string path = dir / "song.mid";
    Write("song.mid", MidiFile(TrackName("Blue"), 100));
    // 2000-01-01 00:00:00.1234567 UTC.
    const timespec times[2] = {{946684800, 123456700}, {946684800, 123456700}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    Scan(dir.path());
    ASSERT_EQ(engine.songFiles().count(), 1);
    const SongFileEntry& entry = engine.songFiles().ElementAt(0);
    EXPECT_EQ(entry.size, 100u);
    // 125911584001234567 intervals of 100 ns since 1601.
    EXPECT_EQ(entry.lastWriteTime, (FileTime{629151367u, 29316075u}));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(entry.lastWriteTime, FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec));

    // Only the low 32 bits of the size are kept (a sparse file, no disk space taken).
    const int fd = ::open((dir / "huge.mid").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const bool grown = ::ftruncate(fd, (off_t{1} << 32) + 5) == 0;
    ::close(fd);
    if (!grown)
        GTEST_SKIP() << "no sparse files of 4 GiB here";
    Scan(dir.path());
    EXPECT_EQ(Rows(), (V{"song.mid -> Blue.mid", "huge.mid -> <no title found>"}));
    EXPECT_EQ(engine.songFiles().ElementAt(1).size, 5u);
}

TEST_F(FolderScan, PathsGetExactlyOneSeparator) {
    Write("song.mid", MidiFile(TrackName("Blue")));
    Scan(dir.path());
    EXPECT_EQ(engine.songFiles().ElementAt(0).path, dir / "song.mid");
    Scan(dir.path() + "/");
    EXPECT_EQ(engine.songFiles().ElementAt(0).path, dir / "song.mid");
    EXPECT_EQ(JoinPath("/", "song.mid"), "/song.mid");
    EXPECT_EQ(JoinPath("music", "song.mid"), "music/song.mid");
    EXPECT_EQ(JoinPath("music/", "song.mid"), "music/song.mid");

    // Anything at a path exists: a file, a folder, a link that leads nowhere.
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    EXPECT_TRUE(engine.FileExists(dir / "song.mid"));
    EXPECT_TRUE(engine.FileExists(dir.path()));
    EXPECT_TRUE(engine.FileExists(dir / "dangling"));
    EXPECT_FALSE(engine.FileExists(dir / "missing.mid"));
}

TEST(NameText, LastCharactersAreCountedByCharacter) {
    EXPECT_EQ(LastChars("Song.mid", 4), ".mid");
    EXPECT_EQ(WithoutLastChars("Song.mid", 4), "Song");
    EXPECT_EQ(LastChars("abc", 4), "abc");
    EXPECT_EQ(WithoutLastChars("abc", 4), "");
    EXPECT_EQ(LastChars("abcd", 0), "");
    // A two- and a three-byte character each count once; a stray byte counts once.
    EXPECT_EQ(LastChars("x\xC3\xA4\xE2\x82\xAC.m", 4), "\xC3\xA4\xE2\x82\xAC.m");
    EXPECT_EQ(LastChars("ab\xE2\x82.mi", 4), "\x82.mi");
    // Any count, not only short ones.
    EXPECT_EQ(LastChars("0123456789", 9), "123456789");
    EXPECT_EQ(WithoutLastChars("0123456789", 9), "0");
    EXPECT_EQ(LastChars("\xC3\xA4"
                        "0123456789",
                        10),
              "0123456789");
    EXPECT_EQ(LastChars("0123456789", 10), "0123456789");
    EXPECT_EQ(LastChars("0123456789", 11), "0123456789");
}

TEST(SongFileList, GrowsInStepsOfAThousand) {
    SongFileList list;
    EXPECT_EQ(list.capacity(), 0);
    for (int i = 0; i < 1000; ++i) {
        SongFileEntry entry;
        entry.fileName = std::to_string(i);
        list.Append(entry);
        ASSERT_EQ(list.capacity(), 1000) << i;
    }
    SongFileEntry last;
    last.fileName = "1000";
    list.Append(last);
    EXPECT_EQ(list.capacity(), 2000);
    EXPECT_EQ(list.count(), 1001);
    EXPECT_EQ(list.ElementAt(0).fileName, "0");
    EXPECT_EQ(list.ElementAt(999).fileName, "999");
    EXPECT_EQ(list.ElementAt(1000).fileName, "1000");

    // Every index outside the entries is refused as running out of memory.
    const SongFileList& constList = list;
    EXPECT_THROW(list.ElementAt(1001), std::bad_alloc);
    EXPECT_THROW(list.ElementAt(-1), std::bad_alloc);
    EXPECT_THROW(constList.ElementAt(1001), std::bad_alloc);
    EXPECT_THROW(list.GrowBy(-1), std::bad_alloc);

    list.GrowBy(0);
    list.GrowBy(999);
    EXPECT_EQ(list.capacity(), 2000);
    list.GrowBy(1000);
    EXPECT_EQ(list.capacity(), 3000);
    list.GrowBy(5000);
    EXPECT_EQ(list.capacity(), 6001);
    EXPECT_EQ(list.ElementAt(1000).fileName, "1000");

    // A list moved away from is empty, not a count over a missing block.
    SongFileList moved(std::move(list));
    EXPECT_EQ(moved.count(), 1001);
    EXPECT_EQ(moved.ElementAt(1000).fileName, "1000");
    ASSERT_EQ(list.count(), 0);
    EXPECT_EQ(list.capacity(), 0);
    EXPECT_THROW(list.ElementAt(0), std::bad_alloc);
    list = std::move(moved);
    ASSERT_EQ(moved.count(), 0);
    EXPECT_EQ(moved.capacity(), 0);
    EXPECT_EQ(list.count(), 1001);
    moved.Append(last);
    EXPECT_EQ(moved.capacity(), 1000);

    list.Clear();
    EXPECT_EQ(list.capacity(), 0);
    EXPECT_EQ(list.count(), 0);
    EXPECT_THROW(list.ElementAt(0), std::bad_alloc);
}

}  // namespace
}  // namespace tt
