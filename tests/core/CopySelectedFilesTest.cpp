// Copying the selected entries under their new names: the destination picker, the
// list update for copies into the listed folder, the size limit and replacing an
// existing target only with a complete copy.
#include <gtest/gtest.h>

#include <filesystem>

#include "FaultyFileSystem.h"
#include "SongBytes.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "engine/Messages.h"

namespace tt {
namespace {

using namespace test;

// A MIDI file titled `title`, zero-padded to exactly `size` bytes.
void WriteSongOfSize(const std::string& path, const std::string& title, std::size_t size) {
    using namespace songbytes;
    WriteBytes(path, MidiFile(Cat({TrackName(title), EndOfTrack()}), size));
}

TEST(CopySelectedFiles, CopiesIntoThePickedFolderAndRemembersIt) {
    AlphaBetaFolder dir;
    TempDir dest;
    TempDir other;
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.ui.destinationSetting = other.path();
    t.ui.pickerAnswers = {dest.path()};
    const Contents before = FolderContents(dir.path());

    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(t.ui.pickerStarts, (std::vector<std::string>{other.path()}));
    EXPECT_EQ(FolderContents(dir.path()), before);
    EXPECT_EQ(FolderContents(dest.path()),
              (Contents{{"Alpha.mid", before.at("a.mid")}, {"Beta.mid", before.at("b.mid")}}));
    EXPECT_EQ(t.engine.songFiles().count(), 2);
    EXPECT_EQ(t.Entry("a.mid").path, dir / "a.mid");  // entries stay as they were
    EXPECT_TRUE(t.ui.selected.empty());
    EXPECT_EQ(t.engine.destFolder(), dest.path());
    EXPECT_FALSE(t.engine.firstDestPick());

    // Later picks start at the folder confirmed last; a cancelled pick ends the
    // operation before anything is copied, stores nothing and leaves the rows.
    t.ui.SelectAll();
    t.ui.pickerAnswers = {std::nullopt};
    t.engine.RenameSelectedFiles(true);
    EXPECT_EQ(t.ui.pickerStarts.back(), dest.path());
    EXPECT_EQ(t.engine.destFolder(), dest.path());
    EXPECT_EQ(FolderContents(dir.path()), before);
    EXPECT_EQ(t.ui.selected.size(), 2u);
}

TEST(CopySelectedFiles, PickerStartsAtTheListedFolderWithoutASetting) {
    TempDir dir;
    WriteSong(dir / "a.mid", "Alpha");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.engine.RenameSelectedFiles(true);
    EXPECT_EQ(t.ui.pickerStarts, (std::vector<std::string>{dir.path()}));
    EXPECT_TRUE(t.engine.firstDestPick());
}

TEST(CopySelectedFiles, CopiesIntoTheListedFolderJoinTheListAndNeverReplaceASong) {
    AlphaBetaFolder dir;
    TempDir other;
    WriteUntitledSong(dir / "Beta.mid", "old beta");  // a listed song: never replaced
    WriteSong(dir / "g.mid", "Gone", "g");
    WriteUntitledSong(dir / "Gone.mid", "removed after the scan");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
    std::filesystem::remove(dir / "Gone.mid");
    t.Select({"a.mid", "b.mid", "g.mid"});
    t.ui.pickerAnswers = {dir.path()};
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};
    Contents expected = FolderContents(dir.path());
    expected["Alpha.mid"] = expected.at("a.mid");
    expected["Gone.mid"] = expected.at("g.mid");

    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(FolderContents(dir.path()), expected);
    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{t.IndexOf("b.mid")}));
    // Alpha.mid is new: appended with a row; Gone.mid was listed: refreshed. Both
    // now propose the names of their sources and are numbered.
    ASSERT_EQ(t.engine.songFiles().count(), 6);
    EXPECT_EQ(t.ui.rowCount, 6);
    const SongFileEntry& alpha = t.engine.songFiles().ElementAt(5);
    EXPECT_EQ(alpha.path, dir / "Alpha.mid");
    EXPECT_EQ(alpha.fileName, "Alpha.mid");
    EXPECT_EQ(alpha.newName, "Alpha_1.mid");
    EXPECT_EQ(alpha.size, expected.at("a.mid").size());
    const SongFileEntry& gone = t.Entry("Gone.mid");
    EXPECT_EQ(gone.titleFound, 1);
    EXPECT_EQ(gone.newName, "Gone_1.mid");
    EXPECT_EQ(gone.size, expected.at("g.mid").size());
    EXPECT_EQ(gone.lastWriteTime, SystemFileSystem().Stat(gone.path)->lastWriteTime);
    EXPECT_EQ(t.Entry("a.mid").newName, "Alpha.mid");

    // The listed folder written otherwise, or reached through a link: still no song
    // of the list is replaced.
    std::filesystem::create_directory_symlink(dir.path(), other / "link");
    for (const std::string& written : {dir / ".", other / "link"}) {
        t.ui.pickerAnswers = {written};
        t.engine.RenameSelectedFiles(true);
        EXPECT_EQ(FolderContents(dir.path()), expected) << written;
        EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{t.IndexOf("b.mid")}));
    }

    // The refreshed and appended entries stand for their files: a further copy
    // of the copies passes the change check.
    t.ui.selected = {t.IndexOf("Alpha.mid"), t.IndexOf("Gone.mid")};
    t.ui.pickerAnswers = {dir.path()};
    t.engine.RenameSelectedFiles(true);
    EXPECT_TRUE(t.ui.warnings.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "Alpha_1.mid"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Gone_1.mid"));
}

TEST(CopySelectedFiles, FolderWrittenDifferentlyIsCopiedToButNotListed) {
    TempDir dir;
    WriteSong(dir / "a.mid", "Alpha", "a");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.ui.pickerAnswers = {dir.path() + "/"};

    t.engine.RenameSelectedFiles(true);

    EXPECT_TRUE(std::filesystem::exists(dir / "Alpha.mid"));
    EXPECT_EQ(t.engine.songFiles().count(), 1);
    EXPECT_EQ(t.ui.rowCount, 1);
    EXPECT_TRUE(t.ui.selected.empty());
}

TEST(CopySelectedFiles, SourcesAboveOneMillionBytesAreRefused) {
    // Song files that large carry no title, so only companions reach the limit in
    // an operation; each refused file gives its own warning and the search goes on.
    TempDir dir;
    TempDir dest;
    WriteSongOfSize(dir / "a.mid", "Alpha", 1000000);
    WriteWholeFile(dir / "a.kar", std::string(1000001, 'k'));
    WriteWholeFile(dir / "a.txt", std::string(1000000, 't'));
    WriteWholeFile(dir / "a.zip", std::string(1000001, 'z'));
    WriteWholeFile(dest / "Alpha.kar", "kept");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.ui.pickerAnswers = {dest.path()};
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};

    t.engine.RenameSelectedFiles(true);

    // Each refusal names its file.
    const std::string tooLarge = ": Files larger than 1 MB cannot be handled!";
    EXPECT_EQ(t.ui.warnings,
              (std::vector<std::string>{dir / "a.kar" + tooLarge, dir / "a.zip" + tooLarge}));
    const Contents after = FolderContents(dest.path());
    EXPECT_EQ(after.at("Alpha.mid").size(), 1000000u);
    EXPECT_EQ(after.at("Alpha.kar"), "kept");  // the refused copy never touched it
    EXPECT_EQ(after.at("Alpha.txt").size(), 1000000u);
    EXPECT_EQ(after.count("Alpha.zip"), 0u);
    EXPECT_TRUE(t.ui.selected.empty());

    // A refused song copy returns false and leaves the target alone.
    WriteWholeFile(dir / "big.mid", std::string(1000001, 'b'));
    EXPECT_FALSE(t.engine.CopyWholeFile(dir / "big.mid", dest / "Alpha.kar", true));
    EXPECT_EQ(t.ui.warnings.size(), 3u);
    EXPECT_EQ(FolderContents(dest.path()), after);
}

TEST(CopySelectedFiles, ShortReadMakesNoCopyAndNoMessage) {
    AlphaBetaFolder dir;
    TempDir dest;
    WriteUntitledSong(dest / "Alpha.mid", "kept");
    FaultyFileSystem fs;
    fs.shortReads.insert(dir / "a.mid");
    EngineWithUi t(fs);
    t.ScanAndSelectAll(dir.path());
    t.ui.pickerAnswers = {dest.path()};
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};
    const Contents destBefore = FolderContents(dest.path());

    t.engine.RenameSelectedFiles(true);

    EXPECT_TRUE(t.ui.warnings.empty());
    EXPECT_EQ(FolderContents(dest.path()).at("Alpha.mid"), destBefore.at("Alpha.mid"));
    EXPECT_TRUE(std::filesystem::exists(dest / "Beta.mid"));
    EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{t.IndexOf("a.mid")}));
}

TEST(CopySelectedFiles, ReplacesAnExistingTargetWholeAndLeavesNoTemporaryFile) {
    AlphaBetaFolder dir;
    TempDir dest;
    WriteUntitledSong(dest / "Alpha.mid", "a longer file that is to be replaced by a shorter one");
    WriteUntitledSong(dest / "Beta.mid", "old beta");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};
    t.ui.pickerAnswers = {dest.path()};
    const Contents before = FolderContents(dir.path());

    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(t.ui.questions, (std::vector<std::string>{OverwriteQuestion(dest / "Alpha.mid")}));
    EXPECT_EQ(FolderContents(dest.path()),
              (Contents{{"Alpha.mid", before.at("a.mid")}, {"Beta.mid", before.at("b.mid")}}));
}

TEST(CopySelectedFiles, MissingTargetFolderEndsTheOperationWithTheStandardText) {
    AlphaBetaFolder dir;
    TempDir dest;
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.ui.pickerAnswers = {dest / "gone"};

    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(t.ui.warnings,
              (std::vector<std::string>{dest / "gone/Alpha.mid" + " contains an invalid path."}));
    EXPECT_EQ(t.ui.selected.size(), 2u);
    EXPECT_EQ(t.ui.redraws, 1);
    EXPECT_TRUE(std::filesystem::is_empty(dest.path()));
}

}  // namespace
}  // namespace tt
