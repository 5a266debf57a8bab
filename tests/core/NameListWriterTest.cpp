#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FaultyFileSystem.h"
#include "PassThroughFileSystem.h"
#include "RunProgram.h"
#include "SongBytes.h"
#include "TempDir.h"
#include "export/NameListFormat.h"
#include "export/NameListWriter.h"
#include "text/UiLanguage.h"

namespace tt {
namespace {

using namespace test;
using V = std::vector<std::string>;

constexpr const char* kName40 = "Harbour_Lights_at_Dusk_demo_take_001.MID";
constexpr const char* kName45 = "Harbour_Lights_at_Dusk_demo_take_00001_xx.mid";

SongFileEntry Entry(const std::string& fileName, const std::string& newName, bool titled) {
    SongFileEntry entry;
    entry.path = "/songs/" + fileName;
    entry.fileName = fileName;
    entry.newName = newName;
    entry.titleFound = titled ? 1 : 0;
    return entry;
}

// Titled and untitled entries (one untitled entry still holds an old proposal,
// which must not be written), a UTF-8 name, and old names of 40 and 45 bytes.
SongFileList SampleList() {
    SongFileList list;
    list.Append(Entry("SONG0001.MID", "Harbour Lights.MID", true));
    list.Append(Entry("intro.mid", "", false));
    list.Append(Entry("Caf\xC3\xA9.mid", "Caf\xC3\xA9 Noir.mid", true));
    list.Append(Entry("old.mid", "stale.mid", false));
    list.Append(Entry(kName40, "Dusk.MID", true));
    list.Append(Entry(kName45, "Dusk.mid", true));
    return list;
}

class NameListWriter : public ::testing::Test {
  protected:
    void TearDown() override { SetUiLanguage(UiLanguage::english); }

    // Writes `list` in `format` under `language` and returns the file's bytes.
    std::string Export(const SongFileList& list, NameListFormat format, UiLanguage language) {
        SetUiLanguage(language);
        const std::string path = dir / "names.txt";
        WriteNameList(SystemFileSystem(), path, list, format);
        EXPECT_EQ(ListFolder(dir.path()), V{"names.txt"});
        return ReadWholeFile(path);
    }

    TempDir dir;
};

TEST_F(NameListWriter, TabTextAndSpreadsheetLayoutInBothLanguages) {
    const std::string entries =
        "SONG0001.MID\tHarbour Lights.MID\r\n"
        "intro.mid\t<no title found>\r\n"
        "Caf\xC3\xA9.mid\tCaf\xC3\xA9 Noir.mid\r\n"
        "old.mid\t<no title found>\r\n"
        "Harbour_Lights_at_Dusk_demo_take_001.MID\tDusk.MID\r\n"
        "Harbour_Lights_at_Dusk_demo_take_00001_xx.mid\tDusk.mid\r\n";
    const std::string english = "Old file name\tNew file name\r\n" + entries;
    const std::string german = "Alter Dateiname\tNeuer Dateiname\r\n" + entries;
    const SongFileList list = SampleList();
    for (const auto format : {NameListFormat::tabText, NameListFormat::spreadsheet}) {
        SCOPED_TRACE(static_cast<int>(format));
        EXPECT_EQ(Export(list, format, UiLanguage::english), english);
        EXPECT_EQ(Export(list, format, UiLanguage::german), german);
    }
}

TEST_F(NameListWriter, BlankTextPadsOldNamesToFortyCharacters) {
    // The header keeps 26 blanks in both languages, so the English heading stands
    // two columns left of the new names; a longer old name shifts its new name.
    const std::string entries =
        "SONG0001.MID                             Harbour Lights.MID\r\n"
        "intro.mid                                <no title found>\r\n"
        "Caf\xC3\xA9.mid                                 Caf\xC3\xA9 Noir.mid\r\n"
        "old.mid                                  <no title found>\r\n"
        "Harbour_Lights_at_Dusk_demo_take_001.MID Dusk.MID\r\n"
        "Harbour_Lights_at_Dusk_demo_take_00001_xx.mid Dusk.mid\r\n";
    const SongFileList list = SampleList();
    EXPECT_EQ(Export(list, NameListFormat::blankText, UiLanguage::english),
              "Old file name                          New file name\r\n" + entries);
    EXPECT_EQ(Export(list, NameListFormat::blankText, UiLanguage::german),
              "Alter Dateiname                          Neuer Dateiname\r\n" + entries);
}

TEST_F(NameListWriter, EmptyListWritesOnlyTheHeader) {
    const SongFileList empty;
    EXPECT_EQ(Export(empty, NameListFormat::tabText, UiLanguage::english),
              "Old file name\tNew file name\r\n");
    EXPECT_EQ(Export(empty, NameListFormat::spreadsheet, UiLanguage::german),
              "Alter Dateiname\tNeuer Dateiname\r\n");
    EXPECT_EQ(Export(empty, NameListFormat::blankText, UiLanguage::english),
              "Old file name                          New file name\r\n");
    EXPECT_EQ(Export(empty, NameListFormat::blankText, UiLanguage::german),
              "Alter Dateiname                          Neuer Dateiname\r\n");
}

TEST_F(NameListWriter, ControlBytesAreEscapedAndBlanksPadByCharacters) {
    // Every entry keeps one line in every layout: a name holding a control byte is
    // written escaped (its backslashes doubled); every other name byte for byte.
    // The blank padding counts characters (an invalid byte counts one).
    const struct {
        std::string fileName, newName, oldText, newText;
        std::size_t blanks;  // blanks after the old name in blank text, the gap included
    } cases[] = {
        {"two\nlines.mid", "Title\nArtist.mid", "two\\nlines.mid", "Title\\nArtist.mid", 27},
        {"cr\r.mid", "", "cr\\r.mid", "<no title found>", 33},
        {"tab\tback\\slash.mid", "T.mid", "tab\\tback\\\\slash.mid", "T.mid", 21},
        {"esc\x1b\x7f.mid", "E\x01.mid", "esc\\x1b\\x7f.mid", "E\\x01.mid", 26},
        {"back\\slash.mid", "B.mid", "back\\slash.mid", "B.mid", 27},
        {"Grüße.mid", "G.mid", "Grüße.mid", "G.mid", 32},
        {"bad\xFF.mid", "X.mid", "bad\xFF.mid", "X.mid", 33},
    };
    SongFileList list;
    std::string tabs = "Old file name\tNew file name\r\n";
    std::string blanks = "Old file name" + std::string(26, ' ') + "New file name\r\n";
    for (const auto& c : cases) {
        list.Append(Entry(c.fileName, c.newName, !c.newName.empty()));
        tabs += c.oldText + '\t' + c.newText + "\r\n";
        blanks += c.oldText + std::string(c.blanks, ' ') + c.newText + "\r\n";
    }
    EXPECT_EQ(Export(list, NameListFormat::tabText, UiLanguage::english), tabs);
    EXPECT_EQ(Export(list, NameListFormat::blankText, UiLanguage::english), blanks);
}

TEST_F(NameListWriter, ReplacesAnExistingFileCompletely) {
    WriteWholeFile(dir / "names.txt", std::string(5000, 'x') + "\r\nold tail\r\n");
    SongFileList list;
    list.Append(Entry("a.mid", "A.mid", true));
    EXPECT_EQ(Export(list, NameListFormat::tabText, UiLanguage::english),
              "Old file name\tNew file name\r\na.mid\tA.mid\r\n");
}

TEST_F(NameListWriter, MissingFolderIsACreateErrorAndWritesNothing) {
    const std::string path = dir / "missing/names.txt";
    try {
        WriteNameList(SystemFileSystem(), path, SampleList(), NameListFormat::tabText);
        FAIL() << "no error";
    } catch (const NameListCreateError& error) {
        EXPECT_EQ(error.cause(), FileErrorCause::badPath);
        EXPECT_EQ(error.path(), path);
    }
    EXPECT_TRUE(ListFolder(dir.path()).empty());
}

TEST_F(NameListWriter, NoPlainFileIsReplacedAndReplacedFilesKeepTheirBits) {
    // A link is followed; the file it names is replaced with its bits kept.
    const std::string real = dir / "real.txt";
    WriteWholeFile(real, "old");
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    std::filesystem::create_symlink("real.txt", dir / "link.txt");
    WriteNameList(SystemFileSystem(), dir / "link.txt", SampleList(), NameListFormat::tabText);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_EQ(ReadWholeFile(real), NameListContent(SampleList(), NameListFormat::tabText));
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    // A device is written through where it is: /dev/full reports a full disk.
    if (::stat("/dev/full", &st) != 0 || !S_ISCHR(st.st_mode))
        GTEST_SKIP() << "no /dev/full device here";
    try {
        WriteNameList(SystemFileSystem(), "/dev/full", SampleList(), NameListFormat::tabText);
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileErrorCause::diskFull);
        EXPECT_EQ(error.path(), "/dev/full");
    }
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(NameListWriter, FailureLeavesTheExistingFileAndNoTemporaryFile) {
    using Step = FaultyFileSystem::Step;
    const std::string path = dir / "names.txt";
    const std::string before = "Old file name\tNew file name\r\nkeep.mid\tKeep.mid\r\n";
    WriteWholeFile(path, before);
    for (const Step step :
         {Step::permissions, Step::write, Step::sync, Step::close, Step::moveReplace}) {
        SCOPED_TRACE(StepName(step));
        FaultyFileSystem fs;
        fs.FailFirst(step, FileErrorCause::diskFull);
        try {
            WriteNameList(fs, path, SampleList(), NameListFormat::blankText);
            ADD_FAILURE() << "no error";
        } catch (const NameListCreateError&) {
            ADD_FAILURE() << "reported as a create error";
        } catch (const FileError& error) {
            EXPECT_EQ(error.cause(), FileErrorCause::diskFull);
            EXPECT_EQ(error.path(), step == Step::write ? path : std::string());
        }
        EXPECT_EQ(ListFolder(dir.path()), V{"names.txt"});
        EXPECT_EQ(ReadWholeFile(path), before);
    }
    // Written through a device in place: a failing open is a create error.
    FaultyFileSystem fs;
    fs.FailFirst(Step::openWrite, FileErrorCause::accessDenied);
    EXPECT_THROW(WriteNameList(fs, "/dev/null", SampleList(), NameListFormat::tabText),
                 NameListCreateError);
}

// Reports the chosen paths as not writable, as the system does for anyone but root.
struct DeniedWrites final : PassThroughFileSystem {
    std::string denied;
    bool MayWrite(const std::string& path) override {
        return path != denied && PassThroughFileSystem::MayWrite(path);
    }
};

TEST_F(NameListWriter, PermissionsDecideBetweenReplacingAndWritingInPlace) {
    // A file that may not be written stays as it was; one in a folder that may not
    // change, or with a second name, is written where it is (same inode).
    const std::string path = dir / "names.txt";
    const auto inode = [&] {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const struct {
        std::string denied;
        bool secondName, written, inPlace;
    } cases[] = {{path, false, false, true},
                 {dir.path(), false, true, true},
                 {"", true, true, true},
                 {"", false, true, false}};
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir / "other.txt");
        WriteWholeFile(path, "old");
        if (c.secondName)
            std::filesystem::create_hard_link(path, dir / "other.txt");
        DeniedWrites fs;
        fs.denied = c.denied;
        const auto before = inode();
        try {
            WriteNameList(fs, path, SampleList(), NameListFormat::tabText);
        } catch (const NameListCreateError&) {
        }
        EXPECT_EQ(ReadWholeFile(path) == "old", !c.written) << c.denied << c.secondName;
        EXPECT_EQ(inode() == before, c.inPlace) << c.denied << c.secondName;
        EXPECT_EQ(ListFolder(dir.path()).size(), c.secondName ? 2u : 1u);  // no temporary file
    }
}

TEST_F(NameListWriter, RealPermissionsAreRespected) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write anything; DeniedWrites stands in for the system";
    const std::string path = dir / "names.txt";
    WriteWholeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_THROW(WriteNameList(SystemFileSystem(), path, SampleList(), NameListFormat::tabText),
                 NameListCreateError);
    ASSERT_EQ(::chmod(path.c_str(), 0644) + ::chmod(dir.path().c_str(), 0555), 0);
    WriteNameList(SystemFileSystem(), path, SampleList(), NameListFormat::tabText);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(ReadWholeFile(path), NameListContent(SampleList(), NameListFormat::tabText));
}

TEST(NameListFormat, SettingLettersAndSaveAsTexts) {
    EXPECT_EQ(NameListFormatFromSetting("T"), NameListFormat::tabText);
    EXPECT_EQ(NameListFormatFromSetting("B"), NameListFormat::blankText);
    EXPECT_EQ(NameListFormatFromSetting("E"), NameListFormat::spreadsheet);
    for (const char* other : {"t", "b", "e", "X", "", "BE", "E "})
        EXPECT_EQ(NameListFormatFromSetting(other), NameListFormat::tabText) << other;
    for (const auto format :
         {NameListFormat::tabText, NameListFormat::blankText, NameListFormat::spreadsheet})
        EXPECT_EQ(NameListFormatFromSetting(SettingFromNameListFormat(format)), format);

    EXPECT_STREQ(SaveAsParametersFor(NameListFormat::spreadsheet).defaultExtension, ".xls");
    EXPECT_STREQ(SaveAsTitle(NameListFormat::blankText), "Save Midi names in text file (blanks)");
    EXPECT_STREQ(ErrorCreatingFileText(), "Error creating file!");
    SetUiLanguage(UiLanguage::german);
    EXPECT_STREQ(SaveAsTitle(NameListFormat::blankText),
                 "Midi-Dateinamen in Textdatei (Blanks) speichern");
    EXPECT_STREQ(ErrorCreatingFileText(), "Fehler beim Erstellen der Datei!");
    SetUiLanguage(UiLanguage::english);
}

TEST(CliExport, WritesTheScannedFolderAndRejectsBadUsage) {
    using namespace songbytes;
    TempDir songs;
    TempDir out;
    WriteBytes(songs / "b.mid", MidiFile(Cat({TrackName("Blue Hour"), EndOfTrack()})));
    WriteBytes(songs / "a.mid", MidiFile(EndOfTrack()));
    WriteBytes(songs / "C.PAT", PatternFile("Polka", 0));
    const std::string target = out / "names.xls";
    WriteWholeFile(target, "previous content that is longer than the new list\r\n");

    const std::string folder = songs.path();
    EXPECT_EQ(RunCli({"export", "--format=xls", "--language", "de", "-o", target, folder}).exitCode,
              0);
    EXPECT_EQ(ReadWholeFile(target),
              "Alter Dateiname\tNeuer Dateiname\r\n"
              "b.mid\tBlue Hour.mid\r\n"
              "C.PAT\tPolka.PAT\r\n"
              "a.mid\t<no title found>\r\n");

    EXPECT_EQ(
        RunCli({"export", "--types", "pat", "--format", "blank", "-o", target, folder}).exitCode,
        0);
    EXPECT_EQ(ReadWholeFile(target),
              "Old file name                          New file name\r\n"
              "C.PAT                                    Polka.PAT\r\n");

    // Usage errors: unknown format, missing output, missing folder, bad language.
    const V usageErrors[] = {
        {"export", "--format", "csv", "-o", target, folder},
        {"export", "--format", "tab", folder},
        {"export", "--format", "tab", "-o", target},
        {"export", "--format", "tab", "--language", "fr", "-o", target, folder},
    };
    for (const V& args : usageErrors)
        EXPECT_EQ(RunCli(args).exitCode, 2) << ::testing::PrintToString(args);
    // "-" is standard output.
    const auto toOutput = RunCli({"export", "--format", "tab", "-o", "-", folder});
    EXPECT_EQ(toOutput.exitCode, 0);
    EXPECT_EQ(toOutput.out.substr(0, 15), "Old file name\tN");
    // A file error: the output folder does not exist.
    EXPECT_EQ(RunCli({"export", "--format", "tab", "-o", out / "none/x.txt", folder}).exitCode, 1);
    EXPECT_EQ(ListFolder(out.path()), V{"names.xls"});
}

}  // namespace
}  // namespace tt
