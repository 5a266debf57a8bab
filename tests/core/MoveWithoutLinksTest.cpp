// Moves on a file system that has neither the no-replace rename nor hard links,
// and whose rename to a name it cannot store removes the source before it fails,
// as fusefat does. A failed move must leave the source under its old name.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "SongFolder.h"
#include "TempDir.h"
#include "platform/FileError.h"
#include "platform/MoveCalls.h"

namespace tt {
namespace {

using namespace test;
using V = std::vector<std::string>;

class FatDriverCalls final : public MoveCalls {
  public:
    int RenameNoReplace(const std::string&, const std::string&) override { return EINVAL; }
    int Link(const std::string&, const std::string&) override { return EPERM; }
    int CreateExclusive(const std::string& path) override {
        return Refused(path) ? EPERM : m_real.CreateExclusive(path);
    }
    int Rename(const std::string& from, const std::string& to) override {
        if (renamesBeforeFailure-- == 0)
            return EIO;
        if (Refused(to)) {
            m_real.Unlink(from);
            return EPERM;
        }
        return m_real.Rename(from, to);
    }
    int Unlink(const std::string& path) override { return m_real.Unlink(path); }
    bool Exists(const std::string& path) override { return m_real.Exists(path); }

    // Renames that succeed before one fails (with the source kept); -1: none fails.
    int renamesBeforeFailure = -1;

  private:
    // A '|' or a byte beyond ASCII in the name.
    static bool Refused(const std::string& path) {
        for (const char c : path.substr(path.rfind('/') + 1))
            if (c == '|' || static_cast<unsigned char>(c) >= 0x80)
                return true;
        return false;
    }
    MoveCalls& m_real = SystemMoveCalls();
};

class MoveWithoutLinksTest : public ::testing::Test {
  protected:
    TempDir dir;
    FatDriverCalls calls;
    std::unique_ptr<FileSystem> fs = MakeFileSystemMovingWith(calls);
    EngineWithUi t{*fs};
};

TEST_F(MoveWithoutLinksTest, RefusedNameLeavesTheSongAndLyrics) {
    for (const std::string title : {"W\xC3\xA4rme", "Rock|Pop"}) {
        SCOPED_TRACE(title);
        WriteWholeFile(dir / "a.mid", MidiSong(title));
        WriteWholeFile(dir / "a.txt", "lyrics");
        t.ui.warnings.clear();
        t.ScanAndSelectAll(dir.path());
        t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(t.ui.warnings, V{"Access to " + (dir / title) + ".mid was denied."});
        EXPECT_EQ(ListFolder(dir.path()), (V{"a.mid", "a.txt"}));
        EXPECT_EQ(ReadWholeFile(dir / "a.mid"), MidiSong(title));
        EXPECT_EQ(t.ui.selected.size(), 1u);
    }
}

TEST_F(MoveWithoutLinksTest, StoredNamesMoveOverAPlaceholder) {
    WriteWholeFile(dir / "a.mid", MidiSong("Tango"));
    WriteWholeFile(dir / "a.txt", "lyrics");
    WriteWholeFile(dir / "song.mid", MidiSong("Song"));  // a case-only change
    t.ScanAndSelectAll(dir.path());
    t.engine.RenameSelectedFiles(false);
    EXPECT_EQ(t.ui.warnings, V{});
    EXPECT_EQ(ListFolder(dir.path()), (V{"Song.mid", "Tango.mid", "Tango.txt"}));
    EXPECT_EQ(ReadWholeFile(dir / "Tango.mid"), MidiSong("Tango"));
    EXPECT_EQ(ReadWholeFile(dir / "Tango.txt"), "lyrics");
    EXPECT_EQ(ReadWholeFile(dir / "Song.mid"), MidiSong("Song"));

    // A rename over the placeholder that fails: the placeholder goes again. When
    // the second step of a case-only change fails, the file gets its old name back.
    calls.renamesBeforeFailure = 0;
    EXPECT_THROW(fs->MoveNoReplace(dir / "Tango.txt", dir / "Lyrics.txt"), FileError);
    calls.renamesBeforeFailure = 1;
    EXPECT_THROW(fs->MoveNoReplace(dir / "Song.mid", dir / "SONG.mid"), FileError);
    EXPECT_EQ(ListFolder(dir.path()), (V{"Song.mid", "Tango.mid", "Tango.txt"}));
    EXPECT_EQ(ReadWholeFile(dir / "Tango.txt"), "lyrics");
    EXPECT_EQ(ReadWholeFile(dir / "Song.mid"), MidiSong("Song"));
}

}  // namespace
}  // namespace tt
