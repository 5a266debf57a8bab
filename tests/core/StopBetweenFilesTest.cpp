// Long work stopped by the user between two files: the scan, and rename or copy
// with companions. Nothing is left half done, and the list agrees with the disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SongFolder.h"
#include "TempDir.h"
#include "platform/PathText.h"

namespace tt {
namespace {

using namespace test;

TEST(StopBetweenFiles, EndsAtTheNextFileBoundary) {
    struct Case {
        EngineWork work;
        std::int32_t stopAfter;
    };
    for (const Case c :
         {Case{EngineWork::scan, 0}, Case{EngineWork::scan, 2}, Case{EngineWork::rename, 1},
          Case{EngineWork::rename, 2}, Case{EngineWork::copy, 1}}) {
        SCOPED_TRACE(std::to_string(int(c.work)) + " stopped after " + std::to_string(c.stopAfter));
        TempDir dir;
        TempDir dest;
        for (const char* name : {"a", "b", "c"}) {
            WriteSong(dir / (std::string(name) + ".mid"), std::string("Title ") + name);
            WriteWholeFile(dir / (std::string(name) + ".txt"), name);
        }
        EngineWithUi t;
        if (c.work == EngineWork::scan) {
            t.ui.stopAfterFiles = c.stopAfter;
            t.Scan(dir.path());
            EXPECT_EQ(t.engine.m_songFiles.count(), 0);
            EXPECT_EQ(t.ui.rowCount, 0);
            EXPECT_TRUE(t.ui.warnings.empty());
            EXPECT_EQ(t.engine.m_strFolder, dir.path());
            EXPECT_EQ(t.ui.progress.size(), std::size_t(c.stopAfter));
            EXPECT_EQ(t.ui.workOpen, 0);
            continue;
        }
        t.ScanAndSelectAll(dir.path());
        const Contents before = FolderContents(dir.path());
        t.ui.stopAfterFiles = c.stopAfter;
        t.ui.pickerAnswers = {dest.path()};
        t.engine.RenameSelectedFiles(c.work == EngineWork::copy);

        EXPECT_EQ(t.ui.work.back(), c.work);
        EXPECT_EQ(t.ui.workOpen, 0);
        EXPECT_EQ(t.ui.progress.back(), (std::pair<std::int32_t, std::int32_t>{c.stopAfter, 3}));
        // Songs handled went with their companions; the rest stay as they were,
        // still selected, and every entry names a file that holds its song.
        const std::string target = c.work == EngineWork::copy ? dest.path() : dir.path();
        for (std::int32_t i = 0; i < 3; ++i) {
            const SongFileEntry& entry = t.engine.m_songFiles.ElementAt(i);
            const std::string base = std::string(1, char('a' + i));
            const bool handled = i < c.stopAfter;
            EXPECT_EQ(t.ui.selected.count(i) == 0, handled) << base;
            EXPECT_EQ(std::filesystem::exists(target + "/Title " + base + ".mid"), handled);
            EXPECT_EQ(std::filesystem::exists(target + "/Title " + base + ".txt"), handled);
            EXPECT_EQ(ReadWholeFile(entry.path), before.at(base + ".mid"));
            EXPECT_EQ(NameOf(entry.path), entry.fileName);
            if (!handled || c.work == EngineWork::copy) {
                EXPECT_EQ(ReadWholeFile(dir / (base + ".txt")), base);
            }
        }
    }
}

}  // namespace
}  // namespace tt
