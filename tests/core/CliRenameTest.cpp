// The rename and copy commands of the command-line tool, run as a separate
// process on real folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "SongFolder.h"
#include "TempDir.h"

namespace tt {
namespace {

using namespace test;
using V = std::vector<std::string>;

// A folder with two titled songs, one with lyrics, and a song without title.
class CliRenameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteWholeFile(dir / "song.mid", MidiSong("Alpha"));
        WriteWholeFile(dir / "song.txt", "lyrics of alpha");
        WriteWholeFile(dir / "other.mid", MidiSong("Beta"));
        WriteWholeFile(dir / "intro.mid", MidiSong(""));
    }

    TempDir dir;
};

TEST_F(CliRenameTest, RenamesEveryTitledSongWithItsCompanions) {
    const auto result = RunCli({"rename", dir.path()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "other.mid -> Beta.mid\n"
              "song.mid -> Alpha.mid\n"
              "song.txt -> Alpha.txt\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ListFolder(dir.path()), (V{"Alpha.mid", "Alpha.txt", "Beta.mid", "intro.mid"}));
    EXPECT_EQ(ReadWholeFile(dir / "Alpha.mid"), MidiSong("Alpha"));
    EXPECT_EQ(ReadWholeFile(dir / "Alpha.txt"), "lyrics of alpha");

    // Run again: every name is already right, nothing more happens.
    const auto again = RunCli({"rename", dir.path()});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(ListFolder(dir.path()), (V{"Alpha.mid", "Alpha.txt", "Beta.mid", "intro.mid"}));
}

TEST_F(CliRenameTest, NamedSelectionAndNoCompanions) {
    const auto result = RunCli({"rename", "--no-companions", dir.path(), "song.mid", "intro.mid"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "song.mid -> Alpha.mid\n");
    // The named song without a title is mentioned, not silently passed over.
    EXPECT_NE(result.err.find("intro.mid: <no title found>"), std::string::npos) << result.err;
    EXPECT_EQ(ListFolder(dir.path()), (V{"Alpha.mid", "intro.mid", "other.mid", "song.txt"}));
}

TEST_F(CliRenameTest, CopyLeavesTheSourcesAndFillsTheDestination) {
    TempDir dest;
    const auto result = RunCli({"copy", "--to", dest.path(), dir.path(), "song.mid"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "song.mid -> Alpha.mid\n"
              "song.txt -> Alpha.txt\n");
    EXPECT_EQ(ListFolder(dest.path()), (V{"Alpha.mid", "Alpha.txt"}));
    EXPECT_EQ(ReadWholeFile(dest / "Alpha.mid"), MidiSong("Alpha"));
    EXPECT_EQ(ReadWholeFile(dest / "Alpha.txt"), "lyrics of alpha");
    EXPECT_EQ(ListFolder(dir.path()), (V{"intro.mid", "other.mid", "song.mid", "song.txt"}));
}

TEST_F(CliRenameTest, OverwriteAnsweredInAdvanceOrOnTheTerminal) {
    // Files in the way in another folder (a listed song is never replaced).
    TempDir dest;
    WriteWholeFile(dest / "Alpha.mid", "old alpha");
    WriteWholeFile(dest / "Alpha.txt", "old lyrics");
    const V copySong = {"copy", "--to", dest.path(), dir.path(), "song.mid"};

    // No: the colliding song stays, no question is shown, the others go on.
    auto result = RunCli({"copy", "--overwrite", "no", "--to", dest.path(), dir.path()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "other.mid -> Beta.mid\n");
    EXPECT_EQ(result.err.find("Overwrite?"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("song.mid: left as it is"), std::string::npos) << result.err;
    EXPECT_EQ(ReadWholeFile(dest / "Alpha.mid"), "old alpha");

    // Asked on the terminal and cancelled: nothing is touched, and the run says so.
    result = RunCli(copySong, "c\n");
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find("tunetitler-cli: cancelled\n"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(
        result.err.find("File  '" + (dest / "Alpha.mid") + "'  already exists!\n\nOverwrite?"),
        std::string::npos)
        << result.err;
    EXPECT_EQ(ReadWholeFile(dest / "Alpha.mid"), "old alpha");

    // Asked and answered y (typed with CR LF): the song and (without a second
    // question) its lyrics replace the existing files.
    result = RunCli(copySong, "y\r\n");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "song.mid -> Alpha.mid\nsong.txt -> Alpha.txt\n");
    EXPECT_EQ(ReadWholeFile(dest / "Alpha.mid"), MidiSong("Alpha"));
    EXPECT_EQ(ReadWholeFile(dest / "Alpha.txt"), "lyrics of alpha");
    EXPECT_EQ(ListFolder(dest.path()), (V{"Alpha.mid", "Alpha.txt", "Beta.mid"}));

    // Yes in advance, in a rename: the lyrics' target is no listed song.
    WriteWholeFile(dir / "Alpha.txt", "old lyrics");
    result = RunCli({"rename", "--overwrite=yes", dir.path(), "song.mid"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "song.mid -> Alpha.mid\nsong.txt -> Alpha.txt\n");
    EXPECT_EQ(ReadWholeFile(dir / "Alpha.txt"), "lyrics of alpha");
}

TEST_F(CliRenameTest, EditedNameIsUsedForSongAndCompanions) {
    // A name that is no plain file name is refused with the reason, and asked again.
    // Lines typed with CR LF end where the LF is.
    const auto result = RunCli({"rename", "--edit", dir.path(), "song.mid"}, "..\r\nMine\r\n");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "song.mid -> Mine.mid\nsong.txt -> Mine.txt\n");
    EXPECT_EQ(result.err,
              "New name for 'song.mid' (proposed: Alpha.mid; type it without .mid, empty keeps "
              "the proposal, end of input cancels): Invalid filename! A name beginning with '.' "
              "would hide the file.\nNew name for 'song.mid' (without .mid): ");
    EXPECT_EQ(ListFolder(dir.path()), (V{"Mine.mid", "Mine.txt", "intro.mid", "other.mid"}));

    // End of input in the edit prompt cancels: nothing more is renamed.
    const auto cancelled = RunCli({"rename", "--edit", dir.path()});
    EXPECT_EQ(cancelled.exitCode, 1) << cancelled.err;
    EXPECT_NE(cancelled.err.find("tunetitler-cli: cancelled\n"), std::string::npos);
    EXPECT_EQ(cancelled.out, "");
    EXPECT_EQ(ListFolder(dir.path()), (V{"Mine.mid", "Mine.txt", "intro.mid", "other.mid"}));
}

TEST_F(CliRenameTest, SongChangedWhileAskedIsNamed) {
    // song.mid changes while other.mid's name is asked for: told, named, status 1.
    const auto result = RunProgram(
        {"/bin/sh", "-c",
         "mkfifo \"$1/in\"; \"$0\" rename --edit \"$1\" <\"$1/in\" 2>\"$1/err\" & exec 3>\"$1/in\";"
         "until grep -q other \"$1/err\" || ! kill -0 $!; do sleep 0.05; done;"
         "echo x >\"$1/song.mid\"; echo >&3; wait $!; s=$?; cat \"$1/err\" >&2; exit $s",
         CliPath(), dir.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("reloaded.\nsong.mid: left as it is\n"), std::string::npos)
        << result.err;
}

TEST_F(CliRenameTest, FileErrorIsReportedWithItsStandardText) {
    // A warning (here: a companion too large to copy) also ends in exit status 1,
    // after everything else was done.
    WriteWholeFile(dir / "song.zip", std::string(1000001, 'z'));
    TempDir dest;
    const auto warned = RunCli({"copy", "--to", dest.path(), dir.path(), "song.mid"});
    EXPECT_EQ(warned.exitCode, 1);
    EXPECT_EQ(warned.out, "song.mid -> Alpha.mid\nsong.txt -> Alpha.txt\n");
    EXPECT_NE(warned.err.find("Files larger than 1 MB cannot be handled!"), std::string::npos)
        << warned.err;
    EXPECT_EQ(ListFolder(dest.path()), (V{"Alpha.mid", "Alpha.txt"}));

    // A folder at a companion's new name: the companion stays and is named, the
    // song goes on.
    std::filesystem::create_directory(dir / "Alpha.txt");
    const auto folder = RunCli({"rename", "--overwrite", "yes", dir.path(), "song.mid"});
    EXPECT_EQ(folder.exitCode, 0);
    EXPECT_EQ(folder.out, "song.mid -> Alpha.mid\nsong.zip -> Alpha.zip\n");
    EXPECT_EQ(folder.err, "song.txt: left as it is\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "Alpha.mid"));
    EXPECT_TRUE(std::filesystem::exists(dir / "song.txt"));
}

// Questions, warnings and errors write a path as the tool's other lines write a
// name: a line feed in a folder's name is escaped in a pipe too.
TEST(CliMessages, NameFilesAsTheListingDoes) {
    TempDir top;
    const std::string songs = top / "so\nngs", dest = top / "to\nthere", dash = top / "-songs";
    const std::string songsShown = top / "so\\nngs", destShown = top / "to\\nthere";
    for (const std::string& folder : {songs, dest, dash})
        std::filesystem::create_directory(folder);
    WriteWholeFile(songs + "/song.mid", MidiSong("Alpha"));
    WriteWholeFile(songs + "/song.zip", std::string(1000001, 'z'));
    WriteWholeFile(dest + "/Alpha.mid", "keep me");
    const struct {
        V args;
        std::string err;
        int exitCode;
    } cases[] = {
        {{"copy", "--to", dest, songs},
         "File  '" + destShown +
             "/Alpha.mid'  already exists!\n\nOverwrite? [y]es / [n]o / "
             "[c]ancel: song.mid: left as it is\n",
         0},
        {{"copy", "--to", dash, songs},
         songsShown + "/song.zip: Files larger than 1 MB cannot be handled!\n",
         1},
        {{"export", "--format", "tab", "-o", songs + "/no/x.txt", songs},
         songsShown + "/no/x.txt contains an invalid path.\n",
         1},
        {{"export", "--format", "tab", "--language", "de", "-o", dest, songs},
         destShown + " ist ein Ordner.\n",
         1},
        {{"export", "--format", "tab", "-o", "-", "--", dash}, "", 0},
        {{"list", "--", dash}, "", 0},
        {{"/bin/sh", "-c", "\"$0\" --help >/dev/full", CliPath()},
         "tunetitler-cli: cannot write to standard output\n",
         1},
    };
    for (const auto& c : cases) {
        const auto result = c.args[0] == "/bin/sh" ? RunProgram(c.args) : RunCli(c.args, "n\n");
        EXPECT_EQ(result.err, c.err) << c.args[0];
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args[0];
    }
}

TEST(CliChains, ChainsMoveInOneRunAndListedSongsAreNeverReplaced) {
    // hard.mid takes the name of Same.mid, which moves on with its lyrics; A and B
    // would swap names and stay.
    TempDir dir;
    WriteWholeFile(dir / "hard.mid", MidiSong("Same"));
    WriteWholeFile(dir / "Same.mid", MidiSong("Different"));
    WriteWholeFile(dir / "Same.txt", "lyrics");
    WriteWholeFile(dir / "A.mid", MidiSong("B"));
    WriteWholeFile(dir / "B.mid", MidiSong("A"));
    // The swapped pair stays: not every song could go, so the status is 1.
    const auto result = RunCli({"rename", "--overwrite", "yes", dir.path()});
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_EQ(result.out,
              "Same.mid -> Different.mid\nSame.txt -> Different.txt\nhard.mid -> Same.mid\n");
    EXPECT_EQ(result.err, "A.mid: left as it is\nB.mid: left as it is\n");
    EXPECT_EQ(ReadWholeFile(dir / "Same.mid"), MidiSong("Same"));
    EXPECT_EQ(ReadWholeFile(dir / "Different.mid"), MidiSong("Different"));
    EXPECT_EQ(ReadWholeFile(dir / "Different.txt"), "lyrics");

    // A copy into the listed folder, written otherwise, never replaces a song.
    const auto copy =
        RunCli({"copy", "--overwrite", "yes", "--to", dir / ".", dir.path(), "A.mid"});
    EXPECT_EQ(copy.err, "A.mid: left as it is\n");
    EXPECT_EQ(ReadWholeFile(dir / "B.mid"), MidiSong("A"));
}

TEST_F(CliRenameTest, CompanionsLeftBehindAreNamed) {
    // song.TXT and song.txt both map to Alpha.txt: the second one stays.
    WriteWholeFile(dir / "song.TXT", "upper");
    const auto result = RunCli({"rename", dir.path(), "song.mid"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "song.mid -> Alpha.mid\nsong.TXT -> Alpha.txt\n");
    EXPECT_EQ(result.err, "song.txt: left as it is\n");
}

TEST_F(CliRenameTest, ControlBytesNeverBreakTheLines) {
    // A title's control bytes become '_'; an old name keeps them, and in a pipe
    // only a tab or line feed is escaped, which would break the line format.
    WriteWholeFile(dir / "tab\tname.mid", MidiSong("A\tB\x1b[2J"));
    WriteWholeFile(dir / "e\x1bsc.mid", MidiSong(""));
    const auto list = RunCli({"list", dir.path()});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("tab\\tname.mid\tA_B_[2J.mid\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("e\x1bsc.mid\t<no title found>\n"), std::string::npos) << list.out;

    const auto rename = RunCli({"rename", dir.path()});
    EXPECT_EQ(rename.exitCode, 0) << rename.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "A_B_[2J.mid"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Beta.mid"));
}

TEST_F(CliRenameTest, BadArgumentsTouchNothingAndSayWhatIsWrongInOneLine) {
    // Usage errors (status 2) point to --help; folders that cannot serve give status 1.
    const std::string d = dir.path(), none = dir / "none", file = dir / "song.mid";
    const struct {
        V args;
        std::string what;
        int exitCode = 2;
    } cases[] = {
        {{}, "no command given"},
        {{"rename"}, "rename needs a folder"},
        {{"rename", d, "nosuch.mid"}, "no song file named 'nosuch.mid' is listed in " + d},
        {{"rename", d, "song.txt"}, "no song file named 'song.txt' is listed in " + d},
        {{"rename", "--overwrite", "maybe", d},
         "unknown --overwrite answer 'maybe' (use ask, yes, no)"},
        {{"rename", "--to", d, d}, "unknown option '--to' for rename"},
        {{"rename", "--bogus", d}, "unknown option '--bogus' for rename"},
        {{"list", "-x\n", d}, "unknown option '-x\\n' for list"},
        {{"copy", d}, "copy needs --to DEST"},
        {{"copy", "--to", d}, "copy needs a folder"},
        {{"copy", "--to"}, "--to needs a value"},
        {{"rename", "--types", "wav", d}, "unknown song type 'wav' (use mid, sty, pat)"},
        {{"list", file}, "folder '" + file + "' is not a folder", 1},
        {{"export", "--format", "tab", "-o", dir / "x.txt", none},
         "folder '" + none + "' does not exist",
         1},
        {{"copy", "--to", none, d}, "destination folder '" + none + "' does not exist", 1},
        {{"copy", "--to", file, d}, "destination folder '" + file + "' is not a folder", 1},
    };
    for (const auto& c : cases) {
        const auto result = RunCli(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << ::testing::PrintToString(c.args);
        EXPECT_EQ(result.out + result.err,
                  "tunetitler-cli: " + c.what +
                      (c.exitCode == 2 ? " (try 'tunetitler-cli --help')\n" : "\n"));
    }
    EXPECT_EQ(ListFolder(d), (V{"intro.mid", "other.mid", "song.mid", "song.txt"}));
    // Song kinds are taken in any letter case.
    EXPECT_EQ(RunCli({"list", "--types", "MID,Sty", d}).out,
              "other.mid\tBeta.mid\nsong.mid\tAlpha.mid\nintro.mid\t<no title found>\n");
}

}  // namespace
}  // namespace tt
