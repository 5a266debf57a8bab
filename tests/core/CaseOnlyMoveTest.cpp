// Moving a file to another spelling of its own name goes through a temporary name;
// on a file system that tells the spellings apart the result is that of a plain
// move, and a failure leaves both files as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

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

}  // namespace
}  // namespace tt
