// Renaming the selected entries in place: the change check, the overwrite question,
// the edit dialog, the entry updates, and files that must never be replaced.
#include <gtest/gtest.h>

#include <filesystem>

#include "CaseBlindFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "engine/Messages.h"
#include "engine/SameFile.h"

namespace tt {
namespace {

using namespace test;

TEST(RenameSelectedFiles, NothingSelectedDoesNothingNotEvenARedraw) {
    TempDir dir;
    WriteSong(dir / "a.mid", "Alpha");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
    const Contents before = FolderContents(dir.path());

    t.engine.RenameSelectedFiles(false);
    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(FolderContents(dir.path()), before);
    EXPECT_EQ(t.ui.redraws, 0);
    EXPECT_TRUE(t.ui.pickerStarts.empty());
    EXPECT_TRUE(t.ui.warnings.empty());
}

TEST(RenameSelectedFiles, RenamesTitledEntriesAndUpdatesThem) {
    AlphaBetaFolder dir;
    WriteUntitledSong(dir / "c.mid", "c");
    WriteSong(dir / "d.mid", "Delta", "d");
    WriteSong(dir / "Echo.mid", "Echo", "e");  // already carries its name
    EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
    const Contents before = FolderContents(dir.path());
    t.Select({"a.mid", "b.mid", "c.mid", "Echo.mid"});
    const std::int32_t untitledRow = t.IndexOf("c.mid");
    const std::int32_t echoRow = t.IndexOf("Echo.mid");

    t.engine.RenameSelectedFiles(false);

    const Contents after = FolderContents(dir.path());
    EXPECT_EQ(after, (Contents{{"Alpha.mid", before.at("a.mid")},
                               {"Beta.mid", before.at("b.mid")},
                               {"c.mid", before.at("c.mid")},
                               {"d.mid", before.at("d.mid")},
                               {"Echo.mid", before.at("Echo.mid")}}));
    const SongFileEntry& alpha = t.Entry("Alpha.mid");
    EXPECT_EQ(alpha.path, dir / "Alpha.mid");
    EXPECT_EQ(alpha.newName, "Alpha.mid");
    EXPECT_EQ(alpha.titleFound, 1);
    const auto info = SystemFileSystem().Stat(alpha.path);
    EXPECT_EQ(alpha.size, info->size);
    EXPECT_EQ(alpha.lastWriteTime, info->lastWriteTime);
    // Renamed and unchanged rows lose their selection; the untitled one keeps it.
    EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{untitledRow}));
    EXPECT_NE(echoRow, -1);
    EXPECT_EQ(t.ui.redraws, 1);
    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_TRUE(t.ui.warnings.empty());

    // Renaming again finds every new name in place: nothing to do.
    t.Select({"Alpha.mid", "Beta.mid", "Echo.mid"});
    t.engine.RenameSelectedFiles(false);
    EXPECT_EQ(FolderContents(dir.path()), after);
    EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{untitledRow}));
    EXPECT_TRUE(t.ui.warnings.empty());
}

TEST(RenameSelectedFiles, RenamedEntriesGetFreshUniqueNames) {
    TempDir dir;
    // Both carry the title Song; the second is proposed as Song_1.mid.
    WriteSong(dir / "a.mid", "Song", "a");
    WriteSong(dir / "b.mid", "Song", "b");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
    EXPECT_EQ(t.Entry("b.mid").newName, "Song_1.mid");
    t.Select("b.mid");

    t.engine.RenameSelectedFiles(false);

    // b is now Song_1.mid; its title gives Song.mid again, which a (before it)
    // still proposes, so it is numbered once more.
    EXPECT_TRUE(std::filesystem::exists(dir / "Song_1.mid"));
    EXPECT_EQ(t.Entry("a.mid").newName, "Song.mid");
    EXPECT_EQ(t.Entry("Song_1.mid").newName, "Song_1.mid");
}

TEST(RenameSelectedFiles, ChangedSourceAbortsAndRebuildsTheList) {
    for (const std::string change : {"resized", "removed", "touched", "unselected", "untitled"}) {
        SCOPED_TRACE(change);
        AlphaBetaFolder dir;
        WriteSong(dir / "z.mid", "Zulu", "z");
        WriteUntitledSong(dir / "u.mid", "u");
        EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
        t.Select({"a.mid", "b.mid", "u.mid"});
        if (change == "resized")
            WriteSong(dir / "b.mid", "Beta", "bigger");
        if (change == "removed")
            std::filesystem::remove(dir / "b.mid");
        if (change == "touched")
            std::filesystem::last_write_time(
                dir / "b.mid",
                std::filesystem::last_write_time(dir / "b.mid") - std::chrono::seconds(5));
        if (change == "unselected")
            WriteSong(dir / "z.mid", "Zulu", "changed");
        if (change == "untitled")
            WriteUntitledSong(dir / "u.mid", "changed");
        const Contents before = FolderContents(dir.path());
        const int clears = t.ui.clears;

        t.engine.RenameSelectedFiles(false);

        if (change == "unselected" || change == "untitled") {
            // Files not looked at by the check: the rename goes ahead.
            EXPECT_TRUE(t.ui.warnings.empty());
            EXPECT_TRUE(std::filesystem::exists(dir / "Alpha.mid"));
            EXPECT_TRUE(std::filesystem::exists(dir / "Beta.mid"));
            continue;
        }
        EXPECT_EQ(t.ui.warnings, (std::vector<std::string>{SourceChangedMessage()}));
        EXPECT_EQ(FolderContents(dir.path()), before);
        EXPECT_EQ(t.ui.clears, clears + 1);  // rebuilt
        EXPECT_EQ(t.engine.songFiles().count(), change == "removed" ? 3 : 4);
        if (change != "removed") {
            EXPECT_EQ(t.Entry("b.mid").size, before.at("b.mid").size());
        }
    }
}

// Files for the overwrite cases: two songs whose new names exist already as files
// the list does not show (written after the scan), and a third without a collision.
struct Collisions {
    TempDir dir;
    EngineWithUi t;
    Contents before;

    Collisions() {
        WriteSong(dir / "a.mid", "Alpha", "a");
        WriteSong(dir / "b.mid", "Beta", "b");
        WriteSong(dir / "c.mid", "Gamma", "c");
        t.Scan(dir.path());
        WriteUntitledSong(dir / "Alpha.mid", "old alpha");
        WriteUntitledSong(dir / "Beta.mid", "old beta");
        t.Select({"a.mid", "b.mid", "c.mid"});
        before = FolderContents(dir.path());
    }
};

TEST(RenameSelectedFiles, OverwriteQuestionIsAskedOncePerOperation) {
    {
        SCOPED_TRACE("yes");
        Collisions c;
        c.t.ui.overwriteAnswers = {OverwriteAnswer::yes};
        c.t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(c.t.ui.questions,
                  (std::vector<std::string>{OverwriteQuestion(c.dir / "Alpha.mid")}));
        EXPECT_EQ(FolderContents(c.dir.path()), (Contents{{"Alpha.mid", c.before.at("a.mid")},
                                                          {"Beta.mid", c.before.at("b.mid")},
                                                          {"Gamma.mid", c.before.at("c.mid")}}));
        EXPECT_EQ(c.t.ui.selected.size(), 0u);
    }
    {
        SCOPED_TRACE("no, then yes in the next operation");
        Collisions c;
        c.t.ui.overwriteAnswers = {OverwriteAnswer::no};
        c.t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(c.t.ui.questions.size(), 1u);
        Contents expected = c.before;
        expected.erase("c.mid");
        expected["Gamma.mid"] = c.before.at("c.mid");
        EXPECT_EQ(FolderContents(c.dir.path()), expected);
        EXPECT_EQ(c.t.ui.selected,
                  (std::set<std::int32_t>{c.t.IndexOf("a.mid"), c.t.IndexOf("b.mid")}));

        c.t.ui.overwriteAnswers = {OverwriteAnswer::yes};
        c.t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(c.t.ui.questions.size(), 2u);
        EXPECT_EQ(ReadWholeFile(c.dir / "Beta.mid"), c.before.at("b.mid"));
    }
    {
        SCOPED_TRACE("cancel");
        Collisions c;
        c.t.ui.overwriteAnswers = {OverwriteAnswer::cancel};
        c.t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(c.t.ui.questions.size(), 1u);
        EXPECT_EQ(FolderContents(c.dir.path()), c.before);  // c.mid not reached
        EXPECT_EQ(c.t.ui.selected.size(), 3u);
        EXPECT_EQ(c.t.ui.redraws, 1);
    }
}

TEST(RenameSelectedFiles, CancelOnALaterSongKeepsEarlierOnesDone) {
    AlphaBetaFolder dir;
    WriteSong(dir / "c.mid", "Gamma", "c");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    WriteUntitledSong(dir / "Beta.mid", "old");
    t.ui.overwriteAnswers = {OverwriteAnswer::cancel};

    t.engine.RenameSelectedFiles(false);

    EXPECT_TRUE(std::filesystem::exists(dir / "Alpha.mid"));
    EXPECT_TRUE(std::filesystem::exists(dir / "b.mid"));
    EXPECT_TRUE(std::filesystem::exists(dir / "c.mid"));
    EXPECT_EQ(t.ui.selected.count(t.IndexOf("Alpha.mid")), 0u);
    EXPECT_EQ(t.ui.selected.count(t.IndexOf("b.mid")), 1u);
    EXPECT_EQ(t.ui.selected.count(t.IndexOf("c.mid")), 1u);
}

TEST(RenameSelectedFiles, EditDialogNamesTheFileOrEndsTheOperation) {
    AlphaBetaFolder dir;
    WriteSong(dir / "c.mid", "Gamma", "c");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.engine.SetEditNames(true);
    t.ui.editAnswers = {std::string("My Song"), std::nullopt};

    t.engine.RenameSelectedFiles(false);

    EXPECT_EQ(t.ui.editedNames, (std::vector<std::string>{"Alpha.mid", "Beta.mid"}));
    EXPECT_EQ(t.ui.editedOldNames, (std::vector<std::string>{"a.mid", "b.mid"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "My Song.mid"));
    EXPECT_TRUE(std::filesystem::exists(dir / "b.mid"));
    EXPECT_TRUE(std::filesystem::exists(dir / "c.mid"));
    EXPECT_EQ(t.ui.selected.size(), 2u);
    EXPECT_EQ(t.ui.redraws, 1);
    EXPECT_EQ(t.Entry("My Song.mid").newName, "My Song.mid");  // the typed name stands
    // Also where another song's title gives it: that song is numbered instead.
    t.ui.selected = {t.IndexOf("c.mid")};
    t.ui.editAnswers = {std::string("Beta")};
    t.engine.RenameSelectedFiles(false);
    EXPECT_EQ(t.Entry("Beta.mid").newName, "Beta.mid");
    EXPECT_EQ(t.Entry("b.mid").newName, "Beta_1.mid");
}

TEST(RenameSelectedFiles, EditedNameOutsideTheFolderIsRefused) {
    TempDir dir;
    WriteSong(dir / "a.mid", "Alpha", "a");
    std::filesystem::create_directory(dir / "sub");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.engine.SetEditNames(true);
    t.ui.editAnswers = {std::string("sub/x"), std::string("sub/x")};

    t.ui.pickerAnswers = {dir.path()};
    t.engine.RenameSelectedFiles(false);
    t.engine.RenameSelectedFiles(true);
    EXPECT_EQ(t.ui.warnings,
              (std::vector<std::string>(2, dir / "sub/x.mid contains an invalid path.")));

    EXPECT_TRUE(std::filesystem::exists(dir / "a.mid"));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "sub"));
    EXPECT_TRUE(t.ui.questions.empty());
}

TEST(RenameSelectedFiles, EditedNameWithAZeroByteIsRefused) {
    // The system cuts a name at a zero byte: "x\0y.mid" would put the song at "x",
    // and its lyrics, bound for "x\0y.txt", would then replace it after Yes.
    TempDir dir;
    TempDir dest;
    WriteSong(dir / "a.mid", "Alpha", "a");
    WriteWholeFile(dir / "a.txt", "lyrics");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.engine.SetEditNames(true);
    const std::string zeroName("x\0y", 3);
    t.ui.editAnswers = {zeroName, zeroName};
    t.ui.overwriteAnswers = {OverwriteAnswer::yes, OverwriteAnswer::yes};
    const Contents before = FolderContents(dir.path());

    t.engine.RenameSelectedFiles(false);
    t.ui.pickerAnswers = {dest.path()};
    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(t.ui.warnings,
              (std::vector<std::string>{dir / zeroName + ".mid contains an invalid path.",
                                        dest / zeroName + ".mid contains an invalid path."}));
    EXPECT_EQ(FolderContents(dir.path()), before);
    EXPECT_TRUE(std::filesystem::is_empty(dest.path()));
    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_EQ(t.ui.selected.size(), 1u);
}

TEST(RenameSelectedFiles, ChainsComeOutRightInOneClickAndHeldNamesAreLeft) {
    // hard.mid takes the name of Same.mid, which moves on to Different.mid with its
    // lyrics (zed.mid: the same chain in the other list order). A and B would swap
    // names; c.mid's name is held by a song that is not selected. Listed songs are
    // never replaced: no question, and the rows left stay selected. Each name is
    // edited once, and a stop is seen in the later rounds too.
    struct Case {
        std::string first;
        bool edit;
        std::int32_t stopAfter;
    };
    for (const Case& c : {Case{"hard.mid", false, -1}, Case{"zed.mid", false, -1},
                          Case{"hard.mid", true, -1}, Case{"hard.mid", false, 2}}) {
        SCOPED_TRACE(c.first + (c.edit ? " edit" : "") + " stop " + std::to_string(c.stopAfter));
        TempDir dir;
        WriteSong(dir / c.first, "Same", "first");
        WriteSong(dir / "Same.mid", "Different", "same");
        WriteWholeFile(dir / "Same.txt", "lyrics");
        WriteSong(dir / "A.mid", "B", "a");
        WriteSong(dir / "B.mid", "A", "b");
        WriteSong(dir / "c.mid", "Keep", "c");
        WriteSong(dir / "Keep.mid", "Other", "keep");
        EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
        t.Select({c.first, "Same.mid", "A.mid", "B.mid", "c.mid"});
        std::set<std::int32_t> left = {t.IndexOf("A.mid"), t.IndexOf("B.mid"), t.IndexOf("c.mid")};
        const std::int32_t firstRow = t.IndexOf(c.first);
        t.engine.SetEditNames(c.edit);
        t.ui.editAnswers = {"B", "A", "Keep", "Same", "Different"};  // in list order
        t.ui.stopAfterFiles = c.stopAfter;
        t.ui.overwriteAnswers = {OverwriteAnswer::yes};
        const Contents before = FolderContents(dir.path());

        t.engine.RenameSelectedFiles(false);

        Contents expected = before;
        expected.erase("Same.txt");
        expected["Different.mid"] = before.at("Same.mid");
        expected["Different.txt"] = "lyrics";
        if (c.stopAfter < 0) {
            expected.erase(c.first);
            expected["Same.mid"] = before.at(c.first);
        } else {
            expected.erase("Same.mid");
            left.insert(firstRow);
        }
        EXPECT_EQ(FolderContents(dir.path()), expected);
        EXPECT_TRUE(t.ui.questions.empty());
        EXPECT_TRUE(t.ui.warnings.empty());
        EXPECT_EQ(t.ui.editedNames.size(), c.edit ? 5u : 0u);
        EXPECT_EQ(t.ui.selected, left);
        if (c.stopAfter < 0) {
            EXPECT_EQ(t.engine.songFiles().ElementAt(firstRow).path, dir / "Same.mid");
            EXPECT_EQ(t.ui.progress.size(), 5u);  // each row counted once
        }
    }
}

TEST(RenameSelectedFiles, FilePutInPlaceByThisOperationIsNeverReplaced) {
    AlphaBetaFolder dir;
    EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
    WriteUntitledSong(dir / "Same.mid", "in the way");  // not listed
    t.Select({"a.mid", "b.mid"});
    t.engine.SetEditNames(true);
    // a replaces Same.mid (Yes); b is then given the same name and would
    // replace a, the only copy of its song.
    t.ui.editAnswers = {std::string("Same"), std::string("Same")};
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};
    const Contents before = FolderContents(dir.path());

    t.engine.RenameSelectedFiles(false);

    EXPECT_EQ(FolderContents(dir.path()),
              (Contents{{"Same.mid", before.at("a.mid")}, {"b.mid", before.at("b.mid")}}));
    EXPECT_EQ(t.ui.questions.size(), 1u);
    EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{t.IndexOf("b.mid")}));

    // The same where names ignore case and b's name is spelled differently.
    TempDir blind;
    WriteSong(blind / "a.mid", "Alpha", "a");
    WriteSong(blind / "b.mid", "Beta", "b");
    CaseBlindFileSystem fs;
    EngineWithUi u(fs);
    u.ScanAndSelectAll(blind.path());
    u.engine.SetEditNames(true);
    u.ui.editAnswers = {std::string("Same"), std::string("SAME")};
    u.ui.overwriteAnswers = {OverwriteAnswer::yes};
    const Contents blindBefore = FolderContents(blind.path());

    u.engine.RenameSelectedFiles(false);

    EXPECT_TRUE(u.ui.questions.empty());
    EXPECT_EQ(FolderContents(blind.path()), (Contents{{"Same.mid", blindBefore.at("a.mid")},
                                                      {"b.mid", blindBefore.at("b.mid")}}));
}

TEST(SameFile, SpellingsOfOneFileOnAFileSystemThatIgnoresCase) {
    TempDir dir;
    WriteWholeFile(dir / "Song.mid", "x");
    WriteWholeFile(dir / "Other.mid", "y");
    CaseBlindFileSystem fs;
    EXPECT_TRUE(IsSameFile(fs, dir / "Song.mid", dir / "SONG.mid"));
    EXPECT_FALSE(IsSameFile(fs, dir / "Song.mid", dir / "Other.mid"));
    EXPECT_FALSE(IsSameFile(fs, dir / "Song.mid", dir / "Missing.mid"));
    // A second file spelled exactly like the target is another file.
    WriteWholeFile(dir / "SONG.mid", "z");
    EXPECT_FALSE(IsSameFile(fs, dir / "Song.mid", dir / "SONG.mid"));
    // Another hard link under a different name shares the inode, yet is an existing
    // file the user is asked about.
    std::filesystem::create_hard_link(dir / "Other.mid", dir / "Link.mid");
    EXPECT_FALSE(IsSameFile(SystemFileSystem(), dir / "Other.mid", dir / "Link.mid"));
}

TEST(SameFile, AnotherLinkAtTheTargetIsAnExistingFile) {
    // A.mid is to become Tune.mid, a hard or symbolic link to it made after the scan:
    // asked about; No leaves both names, Yes leaves the song under Tune.mid alone.
    for (const bool hard : {true, false}) {
        for (const OverwriteAnswer answer : {OverwriteAnswer::no, OverwriteAnswer::yes}) {
            SCOPED_TRACE(std::to_string(hard) + std::to_string(int(answer)));
            TempDir dir;
            WriteSong(dir / "A.mid", "Tune", "a");
            const std::string song = ReadWholeFile(dir / "A.mid");
            EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
            t.Select("A.mid");
            if (hard)
                std::filesystem::create_hard_link(dir / "A.mid", dir / "Tune.mid");
            else
                std::filesystem::create_symlink("A.mid", dir / "Tune.mid");
            t.ui.overwriteAnswers = {answer};
            t.engine.RenameSelectedFiles(false);

            const bool yes = answer == OverwriteAnswer::yes;
            EXPECT_EQ(t.ui.questions.size(), 1u);
            EXPECT_EQ(std::filesystem::exists(dir / "A.mid"), !yes);
            EXPECT_EQ(std::filesystem::is_symlink(dir / "Tune.mid"), !hard && !yes);
            if (yes) {  // on No both names still lead to the one file, as made above
                EXPECT_EQ(ReadWholeFile(dir / "Tune.mid"), song);
            }
        }
    }
}

TEST(SameFile, CaseOnlyRenameIsCarriedOutWithoutQuestion) {
    TempDir dir;
    WriteSong(dir / "Song.mid", "SONG", "s");
    WriteWholeFile(dir / "Song.txt", "lyrics");
    CaseBlindFileSystem fs;
    EngineWithUi t(fs);
    t.ScanAndSelectAll(dir.path());
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};
    const Contents before = FolderContents(dir.path());

    t.engine.RenameSelectedFiles(false);

    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_TRUE(t.ui.warnings.empty());
    EXPECT_EQ(FolderContents(dir.path()),
              (Contents{{"SONG.mid", before.at("Song.mid")}, {"SONG.txt", "lyrics"}}));
    EXPECT_EQ(t.engine.songFiles().ElementAt(0).path, dir / "SONG.mid");
    EXPECT_TRUE(t.ui.selected.empty());

    // Copying onto the file itself has nothing to make and loses nothing.
    std::filesystem::rename(dir / "SONG.mid", dir / "Song.mid");
    t.ScanAndSelectAll(dir.path());
    t.ui.pickerAnswers = {dir.path()};
    t.engine.RenameSelectedFiles(true);
    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_TRUE(t.ui.selected.empty());
    EXPECT_EQ(FolderContents(dir.path()),
              (Contents{{"SONG.txt", "lyrics"}, {"Song.mid", before.at("Song.mid")}}));
}

TEST(RenameSelectedFiles, AFileReplacedWhileAskedIsPassedOver) {
    // While the edit dialog or the overwrite question waits, a.mid is replaced by
    // another song: it is passed over and the run goes on; at its end the change is
    // told and the list read again.
    for (const bool edit : {true, false}) {
        SCOPED_TRACE(edit ? "edit dialog" : "overwrite question");
        AlphaBetaFolder dir;
        EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
        if (!edit)
            WriteWholeFile(dir / "Alpha.mid", "in the way");  // not listed: asked about
        t.engine.SetEditNames(edit);
        t.ui.editAnswers = {std::string("Alpha"), std::string("Beta")};
        t.ui.overwriteAnswers = {OverwriteAnswer::yes};
        const std::string other = MidiSong("Another song with a longer title");
        t.ui.whileAsked = [&] {
            if (ReadWholeFile(dir / "a.mid") != other)
                WriteWholeFile(dir / "a.mid", other);
        };

        t.engine.RenameSelectedFiles(false);

        EXPECT_EQ(ReadWholeFile(dir / "a.mid"), other);
        EXPECT_TRUE(std::filesystem::exists(dir / "Beta.mid"));
        EXPECT_EQ(t.ui.songsLeft, (std::vector<std::pair<std::int32_t, LeftReason>>{
                                      {t.IndexOf("a.mid"), LeftReason::changed}}));
        EXPECT_EQ(t.ui.warnings, (std::vector<std::string>{SourceChangedMessage()}));
        EXPECT_EQ(t.Entry("a.mid").newName, "Another song with a longer title.mid");
    }
}

TEST(RenameSelectedFiles, APathFilledByThisOperationIsPassedOverEvenWithTheSameSizeAndTime) {
    // b.mid is removed while a.mid's name is asked for, and a.mid then becomes b.mid:
    // the two files have one size and one time, so b's entry matches the file there.
    TempDir dir;
    WriteSong(dir / "a.mid", "b", "xxxxx");
    WriteSong(dir / "b.mid", "Other", "x");
    ASSERT_EQ(std::filesystem::file_size(dir / "a.mid"), std::filesystem::file_size(dir / "b.mid"));
    std::filesystem::last_write_time(dir / "b.mid",
                                     std::filesystem::last_write_time(dir / "a.mid"));
    const std::string song = ReadWholeFile(dir / "a.mid");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.engine.SetEditNames(true);
    t.ui.editAnswers = {std::string("b"), std::string("Other")};  // b's is never asked
    t.ui.whileAsked = [&] {
        if (t.ui.editedNames.size() == 1)
            std::filesystem::remove(dir / "b.mid");
    };
    const std::int32_t bRow = t.IndexOf("b.mid");

    t.engine.RenameSelectedFiles(false);

    EXPECT_EQ(FolderContents(dir.path()), (Contents{{"b.mid", song}}));
    EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{bRow}));  // passed over, still to do
    EXPECT_EQ(t.ui.editedNames, std::vector<std::string>{"b.mid"});
}

}  // namespace
}  // namespace tt
