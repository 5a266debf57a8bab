// The journal of renames and copies, and undo over it: chains, a Yes that replaced a
// file, and undo after undo (the command-line tool's tests cut off at every step
// take back companions, case-only renames and copies). Also what undo refuses, and
// a journal that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "FaultyFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "engine/JournalMessages.h"
#include "engine/Undo.h"
#include "platform/PathText.h"
#include "text/UiLanguage.h"

namespace tt {
namespace {

using namespace test;
namespace fs = std::filesystem;

// A trash in a folder of the test, laid out as the desktop's (files/, info/).
class FolderTrash : public Trash {
  public:
    explicit FolderTrash(std::string folder) : m_folder(std::move(folder)) {
        fs::create_directories(m_folder + "/files");
        fs::create_directories(m_folder + "/info");
    }
    std::optional<std::string> MoveToTrash(const std::string& path) override {
        const std::string name = NameOf(path) + "." + std::to_string(++m_count);
        WriteWholeFile(m_folder + "/info/" + name + ".trashinfo", path);
        fs::rename(path, m_folder + "/files/" + name);
        return m_folder + "/files/" + name;
    }
    Contents Files() const { return FolderContents(m_folder + "/files"); }

  private:
    std::string m_folder;
    int m_count = 0;
};

struct Harness {
    TempDir dir, dest, home;
    FolderTrash trash{home / "trash"};

    void Run(bool copy, std::deque<OverwriteAnswer> answers = {},
             FileSystem& fs = SystemFileSystem()) {
        EngineWithUi t(fs);
        OperationJournal journal(fs, home / "journal");
        t.engine.SetJournal(&journal, &trash);
        t.ScanAndSelectAll(dir.path());
        t.ui.pickerAnswers = {dest.path()};
        t.ui.overwriteAnswers = std::move(answers);
        t.engine.RenameSelectedFiles(copy);
        warnings = t.ui.warnings;
    }
    UndoOutcome Undo() {
        return UndoLastOperation(SystemFileSystem(), &trash, home / "journal", dir.path());
    }
    std::vector<std::string> warnings;
};

TEST(Undo, GivesBackTheFolderAsItWas) {
    struct Row {
        const char* name;
        Contents files;
        std::vector<bool> copies;
        std::deque<OverwriteAnswer> answers = {};
    };
    const Row rows[] = {
        {"chain of names",
         {{"a.mid", MidiSong("b")}, {"a.txt", "words a"}, {"b.mid", MidiSong("c")}},
         {false}},
        {"a Yes that replaced a file",
         {{"song.mid", MidiSong("Alpha")}, {"song.txt", "lyrics"}, {"Alpha.txt", "older words"}},
         {false},
         {OverwriteAnswer::yes}},
        {"a rename, then a copy: two undos",
         {{"song.mid", MidiSong("Alpha")}, {"song.txt", "lyrics"}},
         {false, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Harness h;
        for (const auto& [name, content] : row.files)
            WriteWholeFile(h.dir / name, content);
        for (const bool copy : row.copies) {
            const Contents before = FolderContents(h.dir.path());
            h.Run(copy, row.answers);
            EXPECT_TRUE(h.warnings.empty());
            EXPECT_TRUE(FolderContents(h.dir.path()) != before || !fs::is_empty(h.dest.path()));
        }
        for (std::size_t i = 0; i < row.copies.size(); ++i) {
            const UndoOutcome outcome = h.Undo();
            EXPECT_TRUE(outcome.found);
            EXPECT_EQ(outcome.problems, std::vector<std::string>{});
        }
        EXPECT_EQ(FolderContents(h.dir.path()), row.files);
        EXPECT_TRUE(fs::is_empty(h.dest.path()));
        // Only copies went to the trash, and what came back from it left it.
        for (const auto& [name, content] : h.trash.Files())
            EXPECT_TRUE(name.rfind("Alpha", 0) == 0 && row.copies.back()) << name;
        EXPECT_FALSE(h.Undo().found) << "nothing more to take back";
    }
}

TEST(Undo, LeavesWhatChangedAndNeverReplaces) {
    const std::pair<const char*, std::function<void(Harness&)>> rows[] = {
        {"changed since", [](Harness& h) { WriteWholeFile(h.dir / "Alpha.txt", "new words"); }},
        {"old name taken", [](Harness& h) { WriteWholeFile(h.dir / "song.txt", "a new file"); }},
    };
    for (const auto& [name, change] : rows) {
        SCOPED_TRACE(name);
        Harness h;
        WriteWholeFile(h.dir / "song.mid", MidiSong("Alpha"));
        WriteWholeFile(h.dir / "song.txt", "lyrics");
        h.Run(false);
        change(h);
        const Contents changed = FolderContents(h.dir.path());
        const UndoOutcome outcome = h.Undo();
        ASSERT_EQ(outcome.problems.size(), 1u);
        EXPECT_EQ(outcome.problems[0].rfind("Alpha.txt: ", 0), 0u) << outcome.problems[0];
        // The song came back; the companion's two files are as they were.
        Contents expected = changed;
        expected.erase("Alpha.mid");
        expected["song.mid"] = MidiSong("Alpha");
        EXPECT_EQ(FolderContents(h.dir.path()), expected);
    }
}

TEST(Journal, CannotBeWrittenStopsBeforeTheFirstMoveAndReadsBack) {
    for (const UiLanguage language : {UiLanguage::english, UiLanguage::german}) {
        SetUiLanguage(language);
        Harness h;
        WriteWholeFile(h.dir / "song.mid", MidiSong("Alpha"));
        FaultyFileSystem faulty;
        faulty.FailFirst(FaultyFileSystem::Step::write, FileErrorCause::diskFull);
        h.Run(false, {}, faulty);
        ASSERT_EQ(h.warnings.size(), 1u);
        EXPECT_EQ(h.warnings[0].rfind(JournalFailedMessage("").substr(0, 20), 0), 0u);
        EXPECT_EQ(ListFolder(h.dir.path()), std::vector<std::string>{"song.mid"});
    }
    SetUiLanguage(UiLanguage::english);

    // Fields keep tabs and line feeds; a torn last line is left out.
    const std::string odd = "a\tb\nc\\d\x1b";
    EXPECT_EQ(UnescapeJournalField(EscapeJournalField(odd)), odd);
    const auto op = ParseJournal(
        "tunetitler-journal\t1\nbegin\trename\t/f\t/f\t7\t1\ngroup\n"
        "do\t1\tmove\t" +
        EscapeJournalField("/f/" + odd) +
        "\t/f/b\t0\ndid\t1\t5\t6\t7\t8\ndo\t2\tmove\t/f/c\t/f/d\t0\nend");
    ASSERT_TRUE(op);
    ASSERT_EQ(op->steps.size(), 2u);
    EXPECT_EQ(op->steps[0].from, "/f/" + odd);
    EXPECT_TRUE(op->steps[0].done && !op->steps[1].done);
    EXPECT_FALSE(op->ended);

    // The last 20 operations are kept.
    TempDir home;
    OperationJournal journal(SystemFileSystem(), home.path());
    for (int i = 0; i < OperationJournal::kKept + 3; ++i) {
        journal.Begin(false, home.path(), home.path());
        journal.End();
    }
    EXPECT_EQ(ListFolder(home.path()).size(), std::size_t(OperationJournal::kKept));
}

}  // namespace
}  // namespace tt
