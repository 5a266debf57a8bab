// Long work stopped by the user between two files: the scan, and rename or copy
// with companions. Nothing is left half done, and the list agrees with the disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "SongFolder.h"
#include "TempDir.h"
#include "platform/PathText.h"

namespace tt {
namespace {

using namespace test;

TEST(StopBetweenFiles, EndsAtTheNextFileBoundary) {
    const std::pair<EngineWork, std::int32_t> cases[] = {{EngineWork::scan, 0},
                                                         {EngineWork::scan, 2},
                                                         {EngineWork::rename, 1},
                                                         {EngineWork::rename, 2},
                                                         {EngineWork::copy, 1}};
    for (const auto& [work, stopAfter] : cases) {
        SCOPED_TRACE(std::to_string(int(work)) + " stopped after " + std::to_string(stopAfter));
        TempDir dir;
        TempDir dest;
        for (const std::string base : {"a", "b", "c"}) {
            WriteSong(dir / (base + ".mid"), "Title " + base);
            WriteWholeFile(dir / (base + ".txt"), base);
        }
        EngineWithUi t;
        t.ui.stopAfterFiles = work == EngineWork::scan ? stopAfter : -1;
        t.ScanAndSelectAll(dir.path());
        if (work == EngineWork::scan) {
            // An empty list without a message; the folder stays chosen.
            EXPECT_EQ(t.engine.songFiles().count() + t.ui.rowCount, 0);
            EXPECT_TRUE(t.ui.warnings.empty());
            EXPECT_EQ(t.engine.folder(), dir.path());
            EXPECT_EQ(t.ui.progress.size(), std::size_t(stopAfter));
            continue;
        }
        const Contents before = FolderContents(dir.path());
        t.ui.stopAfterFiles = stopAfter;
        t.ui.pickerAnswers = {dest.path()};
        t.engine.RenameSelectedFiles(work == EngineWork::copy);

        EXPECT_EQ(t.ui.progress.back(), (std::pair<std::int32_t, std::int32_t>{stopAfter, 3}));
        // Songs handled went with their companions and were deselected; the rest
        // stay as they were and selected; every entry names a file holding its song.
        const std::string target = work == EngineWork::copy ? dest.path() : dir.path();
        for (std::int32_t i = 0; i < 3; ++i) {
            const SongFileEntry& entry = t.engine.songFiles().ElementAt(i);
            const std::string base(1, char('a' + i));
            const bool handled = i < stopAfter;
            EXPECT_EQ(t.ui.selected.count(i) == 0, handled) << base;
            EXPECT_EQ(std::filesystem::exists(target + "/Title " + base + ".mid"), handled);
            EXPECT_EQ(std::filesystem::exists(target + "/Title " + base + ".txt"), handled);
            EXPECT_EQ(std::filesystem::exists(dir / (base + ".txt")),
                      !handled || work == EngineWork::copy);
            EXPECT_EQ(ReadWholeFile(entry.path), before.at(base + ".mid"));
            EXPECT_EQ(NameOf(entry.path), entry.fileName);
        }
    }
}

}  // namespace
}  // namespace tt
