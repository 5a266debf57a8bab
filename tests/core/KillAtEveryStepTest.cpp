// The command-line tool cut off at every file step of a small rename and copy: by
// SIGKILL (as a power cut), and by SIGINT (as Ctrl-C). The next listing of the
// folder puts it right: every song visible with its companions beside it, no
// temporary file, nothing lost or doubled; an undo then gives the folder back as
// it was.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <map>
#include <set>

#include "RunProgram.h"
#include "SongFolder.h"
#include "TempDir.h"

namespace tt {
namespace {

using namespace test;

// Name -> content; Alpha keeps two companions, "case.mid" only changes case.
const Contents kSongs = {{"song.mid", MidiSong("Alpha")},  {"song.txt", "lyrics of alpha"},
                         {"song.KAR", "karaoke of alpha"}, {"case.mid", MidiSong("CASE")},
                         {"other.mid", MidiSong("Beta")},  {"other.txt", "lyrics of beta"}};

std::multiset<std::string> ContentSet(const Contents& files) {
    std::multiset<std::string> set;
    for (const auto& [name, content] : files)
        set.insert(content);
    return set;
}

// Each companion's content lies beside the song it came with.
void ExpectCompanionsBesideSongs(const Contents& files) {
    std::map<std::string, std::string> baseOf;  // content -> base
    for (const auto& [name, content] : files)
        baseOf[content] = name.substr(0, name.find('.'));
    for (const auto& [song, companion] : {std::pair{"Alpha", "lyrics of alpha"},
                                          {"Alpha", "karaoke of alpha"},
                                          {"Beta", "lyrics of beta"}}) {
        const std::string songContent = MidiSong(song);
        if (baseOf.count(songContent) || baseOf.count(companion)) {
            EXPECT_EQ(baseOf[songContent], baseOf[companion]) << companion;
        }
    }
    for (const auto& [name, content] : files)
        EXPECT_NE(name.front(), '.') << "hidden file left: " << name;
}

TEST(KillAtEveryStep, NextListingRecoversAndUndoRestores) {
    const struct {
        const char* name;
        bool copy;
        bool intoListed;  // a copy into the listed folder itself
        int signal;
    } rows[] = {{"rename killed", false, false, SIGKILL},
                {"copy killed", true, false, SIGKILL},
                {"copy into the listed folder killed", true, true, SIGKILL},
                {"rename stopped by Ctrl-C", false, false, SIGINT},
                {"copy stopped by SIGTERM", true, false, SIGTERM}};
    for (const auto& row : rows) {
        int step = 1;
        for (;; ++step) {
            SCOPED_TRACE(std::string(row.name) + " at step " + std::to_string(step));
            TempDir dir, other, home;
            ::setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
            for (const auto& [name, content] : kSongs)
                WriteWholeFile(dir / name, content);
            const std::string dest = row.intoListed ? dir.path() : other.path();
            const auto args = row.copy ? std::vector<std::string>{"copy", "--to", dest, dir.path()}
                                       : std::vector<std::string>{"rename", dir.path()};
            ::setenv("TUNETITLER_KILL_AT_STEP",
                     (std::to_string(step) + ":" + std::to_string(row.signal)).c_str(), 1);
            const ProgramResult run = RunCli(args);
            ::unsetenv("TUNETITLER_KILL_AT_STEP");
            const bool finished = run.exitCode == 0;
            if (row.signal != SIGKILL && !finished) {
                EXPECT_EQ(run.exitCode, 128 + row.signal) << run.err;
            }

            const ProgramResult list = RunCli({"list", dir.path()});
            EXPECT_EQ(list.exitCode, 0) << list.err;
            // A stop by a signal ends cleanly: nothing is left to put right.
            if (row.signal != SIGKILL) {
                EXPECT_EQ(list.err, "");
            }
            const Contents after = FolderContents(dir.path());
            const Contents copies = row.intoListed ? Contents{} : FolderContents(other.path());
            ExpectCompanionsBesideSongs(after);
            ExpectCompanionsBesideSongs(copies);
            if (!row.copy) {
                EXPECT_EQ(ContentSet(after), ContentSet(kSongs));
                // The lines printed are exactly the files that moved.
                std::size_t moved = 0;
                for (const auto& [name, content] : after)
                    moved += !kSongs.count(name) || kSongs.at(name) != content;
                if (row.signal != SIGKILL) {
                    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), long(moved));
                }
            } else if (!row.intoListed) {
                EXPECT_EQ(after, kSongs);
            }
            for (const auto& [name, content] : copies)
                EXPECT_TRUE(ContentSet(kSongs).count(content)) << name;

            const ProgramResult undo = RunCli({"undo", dir.path()});
            EXPECT_TRUE(undo.exitCode == 0 || undo.err.find("nothing to undo") != std::string::npos)
                << undo.err;
            EXPECT_EQ(FolderContents(dir.path()), kSongs);
            EXPECT_EQ(FolderContents(other.path()), Contents{});
            // Copies taken back lie in the user's trash, made where there was none.
            if (row.copy && finished) {
                EXPECT_EQ(FolderContents(home / "data/Trash/files").size(), kSongs.size());
            }
            if (finished || HasFatalFailure() || step > 200)
                break;
        }
        EXPECT_GT(step, 10) << row.name << ": the hook never cut the run";
    }
    ::unsetenv("XDG_STATE_HOME");
    ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace tt
