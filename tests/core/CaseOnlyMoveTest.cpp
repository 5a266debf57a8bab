// Moving a file to another spelling of its own name goes through a temporary name;
// on a file system that tells the spellings apart the result is that of a plain
// move, and a failure leaves both files as they were. So does a failed move where
// the file system has neither the no-replace rename nor hard links.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "TempDir.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/MoveCalls.h"
#include "platform/PathText.h"

namespace tt {
namespace {

using namespace test;
using V = std::vector<std::string>;

TEST(CaseOnlyMoveTest, NewSpellingOfTheSameName) {
    FileSystem& fs = SystemFileSystem();
    TempDir dir;
    WriteWholeFile(dir / "song.mid", "song");
    WriteWholeFile(dir / "notes.txt", "notes");

    fs.MoveNoReplace(dir / "song.mid", dir / "Song.mid");
    fs.MoveReplace(dir / "notes.txt", dir / "NOTES.TXT");
    EXPECT_EQ(ListFolder(dir.path()), (V{"NOTES.TXT", "Song.mid"}));  // no temporary left
    EXPECT_EQ(ReadWholeFile(dir / "Song.mid"), "song");
    EXPECT_EQ(ReadWholeFile(dir / "NOTES.TXT"), "notes");

    // Both spellings exist as two files: no-replace fails and changes nothing ...
    WriteWholeFile(dir / "song.mid", "other song");
    EXPECT_THROW(fs.MoveNoReplace(dir / "song.mid", dir / "Song.mid"), FileError);
    EXPECT_EQ(ListFolder(dir.path()), (V{"NOTES.TXT", "Song.mid", "song.mid"}));
    EXPECT_EQ(ReadWholeFile(dir / "song.mid"), "other song");
    EXPECT_EQ(ReadWholeFile(dir / "Song.mid"), "song");

    // ... and replace replaces, as a plain move would.
    fs.MoveReplace(dir / "song.mid", dir / "Song.mid");
    EXPECT_EQ(ListFolder(dir.path()), (V{"NOTES.TXT", "Song.mid"}));
    EXPECT_EQ(ReadWholeFile(dir / "Song.mid"), "other song");
}

// fusefat's answers: no no-replace rename, no hard links, no name holding '|' or a
// byte beyond ASCII, and a rename to such a name that removes the source first.
struct FatDriverCalls final : MoveCalls {
    static bool Refused(const std::string& path) {
        const std::string name = NameOf(path);
        return std::any_of(name.begin(), name.end(),
                           [](unsigned char c) { return c == '|' || c >= 0x80; });
    }
    int RenameNoReplace(const std::string&, const std::string&) override { return EINVAL; }
    int Link(const std::string&, const std::string&) override { return EPERM; }
    int CreateExclusive(const std::string& path) override {
        return Refused(path) ? EPERM : real.CreateExclusive(path);
    }
    int Rename(const std::string& from, const std::string& to) override {
        if (renamesBeforeFailure-- == 0)
            return EIO;  // a failure that keeps the source
        if (Refused(to))
            real.Unlink(from);
        return Refused(to) ? EPERM : real.Rename(from, to);
    }
    int Unlink(const std::string& path) override { return real.Unlink(path); }
    bool Exists(const std::string& path) override { return real.Exists(path); }

    MoveCalls& real = SystemMoveCalls();
    int renamesBeforeFailure = -1;
};

TEST(CaseOnlyMoveTest, AFailedMoveWithoutLinksLeavesTheSource) {
    FatDriverCalls calls;
    const auto fs = MakeFileSystemMovingWith(calls);
    TempDir dir;
    WriteWholeFile(dir / "song.mid", "song");
    // A refused name; a failed rename over the placeholder, which goes again; a
    // case-only change whose second step fails.
    for (const int before : {-1, 0, 1}) {
        calls.renamesBeforeFailure = before;
        const char* to = before < 0 ? "W\xC3\xA4rme.mid" : before == 0 ? "Rock.mid" : "SONG.mid";
        EXPECT_THROW(fs->MoveNoReplace(dir / "song.mid", dir / to), FileError) << to;
    }
    EXPECT_EQ(ListFolder(dir.path()), V{"song.mid"});
    EXPECT_EQ(ReadWholeFile(dir / "song.mid"), "song");
    fs->MoveNoReplace(dir / "song.mid", dir / "Rock.mid");  // over the placeholder
    EXPECT_EQ(ListFolder(dir.path()), V{"Rock.mid"});
}

}  // namespace
}  // namespace tt
