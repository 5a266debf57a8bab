// Every file step of a rename or copy operation made to fail in turn: whatever step
// fails, no content is lost or changed, no temporary file is left, the user sees
// the standard text of exactly that failure naming the file involved, and the list
// tells the truth about the disk, so the next click finds no changed file.
#include <gtest/gtest.h>

#include <functional>

#include "FaultyFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "engine/Messages.h"
#include "engine/OperationFiles.h"
#include "platform/PathText.h"

namespace tt {
namespace {

using namespace test;
using Step = FaultyFileSystem::Step;
using Files = std::map<std::string, std::string>;  // full path -> content

// One file the operation is to move or copy, by full paths.
struct Transfer {
    std::string from;
    std::string to;
};

// A scenario: files to lay out, how the operation runs, and what it is to do.
struct Plan {
    bool copy = false;
    bool intoListedFolder = false;    // a copy into the listed folder, else into the other
    std::vector<Transfer> transfers;  // in the order they are made
};

using Scenario = std::function<Plan(const TempDir& dir, const TempDir& dest)>;

// Rename with companions: a waits for the listed Alpha.mid to move on to Omega.mid
// and goes in the second round; a target the list does not show is replaced after Yes.
Plan RenameWithCompanions(const TempDir& dir, const TempDir&) {
    WriteSong(dir / "a.mid", "Alpha", "a");
    WriteWholeFile(dir / "a.txt", "a lyrics");
    WriteWholeFile(dir / "a.KAR", "a karaoke");
    WriteWholeFile(dir / "a", "a without extension");
    WriteSong(dir / "Alpha.mid", "Omega", "old Alpha.mid");
    WriteSong(dir / "b.mid", "Beta", "b");
    WriteWholeFile(dir / "b.txt", "b lyrics");
    WriteSong(dir / "c.mid", "Gamma", "c");
    WriteWholeFile(dir / "Beta.txt", "old Beta.txt");
    Plan plan;
    plan.transfers = {{dir / "Alpha.mid", dir / "Omega.mid"}, {dir / "b.mid", dir / "Beta.mid"},
                      {dir / "b.txt", dir / "Beta.txt"},      {dir / "c.mid", dir / "Gamma.mid"},
                      {dir / "a.mid", dir / "Alpha.mid"},     {dir / "a", dir / "Alpha"},
                      {dir / "a.KAR", dir / "Alpha.kar"},     {dir / "a.txt", dir / "Alpha.txt"}};
    return plan;
}

// Copy into another folder with companions; two targets there are replaced.
Plan CopyToOtherFolder(const TempDir& dir, const TempDir& dest) {
    WriteSong(dir / "a.mid", "Alpha", "a");
    WriteWholeFile(dir / "a.txt", "a lyrics");
    WriteWholeFile(dir / "a.KAR", "a karaoke");
    WriteSong(dir / "b.mid", "Beta", "b");
    WriteWholeFile(dir / "b.txt", "b lyrics");
    WriteUntitledSong(dest / "Alpha.mid", "old Alpha.mid");
    WriteWholeFile(dest / "Beta.txt", "old Beta.txt");
    Plan plan;
    plan.copy = true;
    plan.transfers = {{dir / "a.mid", dest / "Alpha.mid"},
                      {dir / "a.KAR", dest / "Alpha.kar"},
                      {dir / "a.txt", dest / "Alpha.txt"},
                      {dir / "b.mid", dest / "Beta.mid"},
                      {dir / "b.txt", dest / "Beta.txt"}};
    return plan;
}

// Copy into the listed folder: the copies join the list, lyrics the list does not
// show are replaced after Yes, and the listed Gamma.mid is never replaced.
Plan CopyIntoListedFolder(const TempDir& dir, const TempDir&) {
    WriteSong(dir / "a.mid", "Alpha", "a");
    WriteWholeFile(dir / "a.txt", "a lyrics");
    WriteWholeFile(dir / "Alpha.txt", "old Alpha.txt");
    WriteSong(dir / "b.mid", "Beta", "b");
    WriteSong(dir / "c.mid", "Gamma", "c");
    WriteUntitledSong(dir / "Gamma.mid", "old Gamma.mid");
    Plan plan;
    plan.copy = true;
    plan.intoListedFolder = true;
    plan.transfers = {{dir / "a.mid", dir / "Alpha.mid"},
                      {dir / "a.txt", dir / "Alpha.txt"},
                      {dir / "b.mid", dir / "Beta.mid"}};
    return plan;
}

Files DiskFiles(const TempDir& dir, const TempDir& dest) {
    Files files;
    for (const TempDir* folder : {&dir, &dest}) {
        for (const auto& [name, content] : FolderContents(folder->path()))
            files[*folder / name] = content;
    }
    return files;
}

// The disk after a run: every content exactly where it may be, and the transfers
// made in order, each whole.
void CheckDisk(const Plan& plan, const Files& before, const Files& after, bool completed) {
    std::map<std::string, std::string> sourceOf;  // target -> source
    std::set<std::string> sources;
    for (const Transfer& t : plan.transfers) {
        sourceOf[t.to] = t.from;
        sources.insert(t.from);
    }
    for (const auto& [path, content] : after) {
        EXPECT_NE(NameOf(path).rfind(".tunetitler-", 0), 0u) << "temporary file left: " << path;
        EXPECT_TRUE(before.count(path) || sourceOf.count(path)) << "unexpected file " << path;
    }
    for (const auto& [path, content] : before) {
        if (sources.count(path) || sourceOf.count(path))
            continue;
        ASSERT_TRUE(after.count(path)) << path << " lost";
        EXPECT_EQ(after.at(path), content) << path << " changed";
    }
    bool undoneSeen = false;
    for (const Transfer& t : plan.transfers) {
        const std::string& content = before.at(t.from);
        const bool atNew = after.count(t.to) && after.at(t.to) == content;
        if (!plan.copy) {
            const bool atOld = after.count(t.from) && after.at(t.from) == content;
            EXPECT_NE(atOld, atNew) << t.from << " must be under exactly one of its names";
        }
        EXPECT_FALSE(atNew && undoneSeen) << t.to << " made out of order";
        undoneSeen |= !atNew;
        if (after.count(t.to) && !atNew) {
            EXPECT_TRUE(before.count(t.to) && after.at(t.to) == before.at(t.to))
                << t.to << " holds a broken content";
        }
        // An existing target is gone only where it moved on itself.
        EXPECT_TRUE(after.count(t.to) || !before.count(t.to) || sources.count(t.to))
            << "existing " << t.to << " lost";
        if (completed) {
            EXPECT_TRUE(atNew) << t.to << " not made";
        }
    }
}

struct EntryState {
    std::string path, fileName, newName;
    std::uint8_t titleFound;
    std::uint32_t size;
    FileTime time;
    bool operator==(const EntryState&) const = default;
};

EntryState StateOf(const SongFileEntry& e) {
    return {e.path, e.fileName, e.newName, e.titleFound, e.size, e.lastWriteTime};
}

// The list after a run: entries handled show their new file, the others are as
// they were, copies made in the listed folder joined it, and every entry agrees
// with its file on disk, also after an error.
void CheckList(const Plan& plan, const EngineWithUi& t, const std::vector<EntryState>& before,
               const std::set<std::int32_t>& selectedBefore) {
    std::map<std::string, std::string> targetOf;
    std::set<std::string> targets;
    for (const Transfer& tr : plan.transfers) {
        targetOf[tr.from] = tr.to;
        targets.insert(tr.to);
    }
    const SongFileList& list = t.engine.songFiles();
    EXPECT_EQ(t.ui.rowCount, list.count());
    ASSERT_GE(list.count(), static_cast<std::int32_t>(before.size()));

    for (std::int32_t i = 0; i < list.count(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const SongFileEntry& entry = list.ElementAt(i);
        const bool appended = i >= static_cast<std::int32_t>(before.size());
        if (appended) {
            EXPECT_TRUE(plan.intoListedFolder && targets.count(entry.path));
            EXPECT_EQ(entry.fileName, NameOf(entry.path));
        }
        const bool processed =
            !appended && selectedBefore.count(i) && before[i].titleFound && !t.ui.selected.count(i);
        if (!appended && (!processed || plan.copy)) {
            EXPECT_EQ(StateOf(entry), before[i]) << "an entry changed that a rename did not move";
        }
        if (processed && !plan.copy) {
            EXPECT_EQ(entry.path, targetOf.at(before[i].path));
            EXPECT_EQ(entry.fileName, NameOf(entry.path));
        }
        const auto info = SystemFileSystem().Stat(entry.path);
        ASSERT_TRUE(info) << entry.path << " is listed but gone";
        EXPECT_EQ(entry.size, info->size) << entry.path;
        EXPECT_EQ(entry.lastWriteTime, info->lastWriteTime) << entry.path;
    }
}

constexpr FileErrorCause kCauses[] = {
    FileErrorCause::accessDenied,     FileErrorCause::diskFull,         FileErrorCause::hardIO,
    FileErrorCause::sharingViolation, FileErrorCause::fileNotFound,     FileErrorCause::generic,
    FileErrorCause::badPath,          FileErrorCause::tooManyOpenFiles,
};

// Runs the scenario with the failure at step 1, 2, 3, ... until a run completes
// without reaching the failing step. Returns the number of failed runs.
int RunWithEveryStepFailing(const Scenario& scenario) {
    for (int n = 1; n < 500; ++n) {
        SCOPED_TRACE("failing step " + std::to_string(n));
        TempDir dir;
        TempDir dest;
        const Plan plan = scenario(dir, dest);
        FaultyFileSystem fs;
        fs.passSyncOn = false;
        EngineWithUi t(fs);
        t.Scan(dir.path());
        // The titled rows: a listed file that a copy replaces gains a title, and
        // would be copied once more if its row were selected.
        for (std::int32_t i = 0; i < t.engine.songFiles().count(); ++i) {
            if (t.engine.songFiles().ElementAt(i).titleFound)
                t.ui.selected.insert(i);
        }
        t.ui.overwriteAnswers = {OverwriteAnswer::yes};
        t.ui.pickerAnswers = {plan.intoListedFolder ? dir.path() : dest.path()};
        const Files before = DiskFiles(dir, dest);
        std::vector<EntryState> entriesBefore;
        for (std::int32_t i = 0; i < t.engine.songFiles().count(); ++i)
            entriesBefore.push_back(StateOf(t.engine.songFiles().ElementAt(i)));
        const std::set<std::int32_t> selectedBefore = t.ui.selected;
        const FileErrorCause cause = kCauses[n % std::size(kCauses)];
        fs.FailAt(n, cause);

        t.engine.RenameSelectedFiles(plan.copy);

        const auto& fault = fs.fault();
        const bool completed = !fault.has_value();
        EXPECT_EQ(t.ui.redraws, 1);
        EXPECT_LE(t.ui.questions.size(), 1u);
        bool warned = false;
        if (fault) {
            SCOPED_TRACE(std::string("failing ") + StepName(fault->step) + " " + fault->path);
            if (t.ui.warnings.empty()) {
                // Only a title read after a transfer is caught on its own: the entry
                // goes without a title, and the operation carries on.
                EXPECT_TRUE(fault->step == Step::open || fault->step == Step::length ||
                            fault->step == Step::read);
                bool untitledNow = false;
                for (std::int32_t i = 0; i < t.engine.songFiles().count(); ++i) {
                    const SongFileEntry& e = t.engine.songFiles().ElementAt(i);
                    untitledNow |= e.path == fault->path && !e.titleFound;
                }
                EXPECT_TRUE(untitledNow) << "a failure was swallowed";
                const std::vector<std::string> expected =
                    fault->step == Step::open
                        ? std::vector<std::string>{}
                        : std::vector<std::string>{StandardFileErrorText(cause, fault->path)};
                EXPECT_EQ(t.ui.readErrors, expected);
            } else {
                warned = true;
                // The file involved, never a temporary file.
                EXPECT_NE(NameOf(fault->named).rfind(".tunetitler-", 0), 0u);
                EXPECT_EQ(t.ui.warnings,
                          (std::vector<std::string>{StandardFileErrorText(cause, fault->named)}));
                EXPECT_TRUE(t.ui.readErrors.empty());
            }
        } else {
            EXPECT_TRUE(t.ui.warnings.empty());
            EXPECT_TRUE(t.ui.readErrors.empty());
        }
        // Without a warning every transfer was made (a failed title read goes on).
        CheckDisk(plan, before, DiskFiles(dir, dest), !warned);
        CheckList(plan, t, entriesBefore, selectedBefore);
        // The next click finds no changed file.
        fs.Disarm();
        t.ui.warnings.clear();
        t.ui.SelectAll();
        t.engine.RenameSelectedFiles(plan.copy);
        EXPECT_EQ(std::count(t.ui.warnings.begin(), t.ui.warnings.end(), SourceChangedMessage()),
                  0);
        if (completed || ::testing::Test::HasFatalFailure())
            return n - 1;
    }
    ADD_FAILURE() << "the operation never completed";
    return 0;
}

TEST(RenameFault, RenameWithCompanionsAndOverwrite) {
    // 8 moves (one in the second round) and 4 title reads of 3 steps each.
    EXPECT_EQ(RunWithEveryStepFailing(RenameWithCompanions), 20);
}

TEST(RenameFault, CopyIntoAnotherFolderWithOverwrite) {
    // 5 copies of 9 steps each (open, length, read, close, create, write, sync,
    // close, move).
    EXPECT_EQ(RunWithEveryStepFailing(CopyToOtherFolder), 45);
}

TEST(RenameFault, CopyIntoTheListedFolder) {
    // 3 copies and 2 title reads of the copies.
    EXPECT_EQ(RunWithEveryStepFailing(CopyIntoListedFolder), 33);
}

}  // namespace
}  // namespace tt
