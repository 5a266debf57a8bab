#include "engine/Recovery.h"

#include <algorithm>

#include "engine/JournalMessages.h"
#include "engine/OperationJournal.h"
#include "engine/SameFile.h"
#include "engine/Undo.h"
#include "platform/FileError.h"
#include "platform/JournalFile.h"
#include "platform/PathText.h"

namespace tt {

namespace {

// The temporary files a process with id `pid` makes in `folder` (see CreateTemp).
std::vector<std::string> TempFilesOf(FileSystem& fs, const std::string& folder, long pid) {
    std::vector<std::string> temps;
    const std::string prefix = ".tunetitler-" + std::to_string(pid) + "-";
    for (const std::string& name : fs.ListNames(folder).value_or(std::vector<std::string>{})) {
        if (name.rfind(prefix, 0) == 0 && name.size() > 4 &&
            name.compare(name.size() - 4, 4, ".tmp") == 0)
            temps.push_back(folder + "/" + name);
    }
    return temps;
}

bool IsEmptyFile(FileSystem& fs, const std::string& path) {
    const auto info = fs.Stat(path);
    return info && info->isRegular && info->size == 0;
}

bool IsFolder(FileSystem& fs, const std::string& path) {
    const auto info = fs.Stat(path);
    return info && info->isDirectory;
}

// The step's file turned out to be at its new name: recorded as done.
void MarkDone(FileSystem& fs, OperationJournal& journal, JournalStep& step) {
    journal.StepDone(step.number, step.to);
    const FileInfo info = fs.Stat(step.to).value_or(FileInfo{});
    step.done = true;
    step.size = info.size;
    step.time = static_cast<std::uint64_t>(info.lastWriteTime.high) << 32 | info.lastWriteTime.low;
    step.device = info.device;
    step.inode = info.inode;
}

// Settles the step that was cut short: afterwards it is either not done (the file
// at its old name) or done (at its new name, recorded), with nothing hidden.
void SettleOpenStep(FileSystem& fs, OperationJournal& journal, const JournalOperation& op,
                    JournalStep& step, std::vector<std::string>& lines) {
    const std::vector<std::string> temps = TempFilesOf(fs, FolderOf(step.to), op.pid);
    switch (step.kind) {
        case JournalStep::Kind::move: {
            bool fromThere = fs.Exists(step.from);
            bool toThere = fs.Exists(step.to) && !(fromThere && IsSameFile(fs, step.from, step.to));
            if (step.from != step.to && EqualsNoCase(step.from, step.to)) {
                // Another spelling of one name: where case is ignored both spellings
                // answer, so the folder's own list tells which one the file has.
                const auto names =
                    fs.ListNames(FolderOf(step.to)).value_or(std::vector<std::string>{});
                const auto listed = [&names](const std::string& path) {
                    return std::find(names.begin(), names.end(), NameOf(path)) != names.end();
                };
                fromThere = listed(step.from);
                toThere = listed(step.to);
            }
            // With the file at one of its names, an empty temporary file is the
            // placeholder by which a move claims a name: it goes.
            std::vector<std::string> hidden;
            for (const std::string& temp : temps) {
                if ((fromThere || toThere) && IsEmptyFile(fs, temp))
                    fs.Remove(temp);
                else
                    hidden.push_back(temp);
            }
            if (!hidden.empty() && !op.copy && !fromThere && !toThere) {
                // Cut between the two halves of a move through a temporary name: the
                // temporary file is the song (a rename makes no other).
                fs.MoveNoReplace(hidden.front(), step.from);
                lines.push_back(BackUnderOldName(NameOf(step.from)));
            } else if (fromThere && toThere && !step.replace && IsEmptyFile(fs, step.to)) {
                // The placeholder that claimed the new name; the file is still at its
                // old name.
                fs.Remove(step.to);
            } else if (!fromThere && toThere) {
                MarkDone(fs, journal, step);
                lines.push_back(DoneBeforeTheCut(NameOf(step.from), NameOf(step.to)));
            }
            break;
        }
        case JournalStep::Kind::copy:
            for (const std::string& temp : temps) {
                fs.Remove(temp);
                lines.push_back(TemporaryFileRemoved(NameOf(step.to)));
            }
            // Cut while the finished copy was taking its name: the placeholder that
            // claimed it goes with the copy.
            if (!temps.empty() && !step.replace && IsEmptyFile(fs, step.to))
                fs.Remove(step.to);
            // Nothing was at a new name that was not to be replaced: a file there
            // now is the finished copy.
            if (temps.empty() && !step.replace && fs.Exists(step.to)) {
                MarkDone(fs, journal, step);
                lines.push_back(DoneBeforeTheCut(NameOf(step.from), NameOf(step.to)));
            }
            break;
        case JournalStep::Kind::trash:
            if (!fs.Exists(step.from))
                lines.push_back(LostToTrash(NameOf(step.from)));
            break;
    }
}

}  // namespace

// Settles the cut step, takes back the song handled last and removes what a copy
// left half-made; then ends the journal.
static void RecoverOperation(FileSystem& fs, Trash* trash, OperationJournal& journal,
                             JournalOperation& op, std::vector<std::string>& lines);

std::vector<std::string> RecoverInterruptedOperations(FileSystem& fs, Trash* trash,
                                                      const std::string& journalFolder,
                                                      const std::string& folder) {
    std::vector<std::string> report;
    const std::string wanted = ResolvedFolder(folder);
    for (JournalOperation& op : ReadJournals(fs, journalFolder)) {
        if (op.ended || (op.folder != wanted && op.destination != wanted))
            continue;
        // A medium that is not there now is put right when it is back.
        if (!IsFolder(fs, op.folder) || !IsFolder(fs, op.destination) ||
            JournalInUse(op.journalPath))
            continue;
        OperationJournal journal(fs, journalFolder);
        try {
            journal.Reopen(op.journalPath);
        } catch (const FileError&) {
            continue;  // taken by another program just now
        }
        std::vector<std::string> lines;
        try {
            RecoverOperation(fs, trash, journal, op, lines);
        } catch (const FileError& error) {
            // Left open: the next scan tries again. The user learns why now.
            journal.Close();
            lines.push_back(error.StandardText());
        }
        if (!lines.empty()) {
            report.push_back(RecoveredHeading(op.folder));
            report.insert(report.end(), lines.begin(), lines.end());
        }
    }
    return report;
}

static void RecoverOperation(FileSystem& fs, Trash* trash, OperationJournal& journal,
                             JournalOperation& op, std::vector<std::string>& lines) {
    if (!op.steps.empty() && !op.steps.back().done && !op.steps.back().gone) {
        JournalStep& open = op.steps.back();
        SettleOpenStep(fs, journal, op, open, lines);
    }
    // The song handled last goes back with its companions as far as it went.
    UndoOutcome outcome;
    for (auto step = op.steps.rbegin(); step != op.steps.rend() && step->group == op.lastGroup;
         ++step)
        TakeBackStep(fs, trash, journal, *step, true, outcome);
    for (const auto& [from, to] : outcome.movedBack)
        lines.push_back(BackUnderOldName(NameOf(to)));
    for (const std::string& path : outcome.restored)
        lines.push_back(RestoredFromTrash(NameOf(path)));
    for (const std::string& path : outcome.trashed)
        lines.push_back(CopyToTrash(NameOf(path)));
    for (const std::string& path : outcome.removed)
        lines.push_back(TemporaryFileRemoved(NameOf(path)));
    lines.insert(lines.end(), outcome.problems.begin(), outcome.problems.end());
    // Whatever else a copy left half-made in its destination goes too.
    if (op.copy) {
        for (const std::string& temp : TempFilesOf(fs, op.destination, op.pid)) {
            fs.Remove(temp);
            lines.push_back(TemporaryFileRemoved(NameOf(temp)));
        }
    }
    journal.End();
}

}  // namespace tt
