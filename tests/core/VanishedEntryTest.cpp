// An entry whose file another program removes during an operation, and whose path
// this operation then fills: the file there now is another song's, though size and
// time may tell nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "PassThroughFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"

namespace tt {
namespace {

using namespace test;

// Removes `victim` the first time the engine asks whether it exists, as another
// program might just before.
class RemovedOnFirstLook : public PassThroughFileSystem {
  public:
    explicit RemovedOnFirstLook(std::string victim) : m_victim(std::move(victim)) {}
    bool Exists(const std::string& path) override {
        if (path == m_victim && !m_removed) {
            m_removed = true;
            ::unlink(path.c_str());
        }
        return PassThroughFileSystem::Exists(path);
    }

  private:
    std::string m_victim;
    bool m_removed = false;
};

TEST(VanishedEntry, PathFilledByThisOperationIsPassedOverEvenWithTheSameSizeAndTime) {
    TempDir dir;
    // a.mid becomes b.mid; the two files have one size and one time, so b's entry
    // matches the file that a's rename leaves at b.mid.
    WriteSong(dir / "a.mid", "b", "xxxxx");
    WriteSong(dir / "b.mid", "Other", "x");
    ASSERT_EQ(std::filesystem::file_size(dir / "a.mid"), std::filesystem::file_size(dir / "b.mid"));
    const auto time = std::filesystem::last_write_time(dir / "a.mid");
    std::filesystem::last_write_time(dir / "b.mid", time);
    const std::string song = ReadWholeFile(dir / "a.mid");
    RemovedOnFirstLook fs(dir / "b.mid");
    EngineWithUi t(fs);
    t.ScanAndSelectAll(dir.path());
    const std::int32_t bRow = t.IndexOf("b.mid");

    t.engine.RenameSelectedFiles(false);

    EXPECT_EQ(FolderContents(dir.path()), (Contents{{"b.mid", song}}));
    EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{bRow}));  // passed over, still to do
    EXPECT_TRUE(t.ui.questions.empty());
}

}  // namespace
}  // namespace tt
