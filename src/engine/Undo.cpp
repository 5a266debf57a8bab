#include "engine/Undo.h"

#include "engine/JournalMessages.h"
#include "engine/SameFile.h"
#include "platform/FileError.h"
#include "platform/JournalFile.h"
#include "platform/PathText.h"

namespace tt {

namespace {

// True when the file at the step's target is still the one the step left there:
// size and time, and device and inode where the file system keeps its numbers
// (a FAT medium mounted again numbers its files anew).
bool IsWhatTheStepLeft(FileSystem& fs, const JournalStep& step) {
    const auto info = fs.Stat(step.to);
    if (!info || !info->isRegular)
        return false;
    const std::uint64_t time =
        static_cast<std::uint64_t>(info->lastWriteTime.high) << 32 | info->lastWriteTime.low;
    return info->size == step.size && time == step.time &&
           (!KeepsInodeNumbers(step.to) ||
            (info->device == step.device && info->inode == step.inode));
}

// True when nothing but the file at `current` itself (another spelling of its name,
// where the folder ignores case) is at `path`.
bool NameFree(FileSystem& fs, const std::string& path, const std::string& current) {
    return !fs.Exists(path) || IsSameFile(fs, current, path);
}

// The trash's record of a file in it (the freedesktop layout: files/NAME beside
// info/NAME.trashinfo); removed once the file has come back.
void ForgetTrashRecord(FileSystem& fs, const std::string& trashed) {
    const std::string trashFolder = FolderOf(FolderOf(trashed));
    try {
        fs.Remove(trashFolder + "/info/" + NameOf(trashed) + ".trashinfo");
    } catch (const FileError&) {
        // Only the trash's list shows an entry whose file has gone.
    }
}

}  // namespace

bool SameFolder(const std::string& a, const std::string& b) {
    return ResolvedFolder(a) == ResolvedFolder(b);
}

std::optional<JournalOperation> LastUndoableOperation(FileSystem& fs,
                                                      const std::string& journalFolder,
                                                      const std::string& folder) {
    const std::string wanted = ResolvedFolder(folder);
    std::vector<JournalOperation> journals = ReadJournals(fs, journalFolder);
    for (auto op = journals.rbegin(); op != journals.rend(); ++op) {
        if (op->ended && !op->undone && op->folder == wanted && op->FilesToUndo() > 0)
            return std::move(*op);
    }
    return std::nullopt;
}

void TakeBackStep(FileSystem& fs, Trash* trash, OperationJournal& journal, JournalStep& step,
                  bool mayRemoveCopies, UndoOutcome& outcome) {
    if (!step.done || step.back)
        return;
    const std::string name = NameOf(step.kind == JournalStep::Kind::trash ? step.from : step.to);
    try {
        switch (step.kind) {
            case JournalStep::Kind::move:
                if (!IsWhatTheStepLeft(fs, step)) {
                    outcome.problems.push_back(ChangedSince(name));
                } else if (!NameFree(fs, step.from, step.to)) {
                    outcome.problems.push_back(OldNameTaken(name, NameOf(step.from)));
                } else {
                    journal.Undoing(step.number);
                    fs.MoveNoReplace(step.to, step.from);
                    journal.Back(step.number);
                    step.back = true;
                    outcome.movedBack.emplace_back(step.to, step.from);
                }
                break;
            case JournalStep::Kind::copy: {
                if (!IsWhatTheStepLeft(fs, step)) {
                    outcome.problems.push_back(ChangedSince(name));
                    break;
                }
                journal.Undoing(step.number);
                if (trash && trash->MoveToTrash(step.to)) {
                    outcome.trashed.push_back(step.to);
                } else if (mayRemoveCopies) {
                    fs.Remove(step.to);
                    outcome.removed.push_back(step.to);
                } else {
                    outcome.problems.push_back(NoTrashForCopy(name));
                    break;
                }
                journal.Back(step.number);
                step.back = true;
                break;
            }
            case JournalStep::Kind::trash:
                if (fs.Exists(step.from)) {
                    outcome.problems.push_back(OldNameTaken(name, name));
                } else {
                    journal.Undoing(step.number);
                    fs.MoveNoReplace(step.trashed, step.from);
                    ForgetTrashRecord(fs, step.trashed);
                    journal.Back(step.number);
                    step.back = true;
                    outcome.restored.push_back(step.from);
                }
                break;
        }
    } catch (const FileError& error) {
        // The journal names what stays to be taken back; the file error says why.
        if (error.path() == journal.path())
            throw;
        outcome.problems.push_back(UndoFailed(name, NamingFile(error, name).StandardText()));
    }
}

UndoOutcome UndoLastOperation(FileSystem& fs, Trash* trash, const std::string& journalFolder,
                              const std::string& folder) {
    UndoOutcome outcome;
    std::optional<JournalOperation> op = LastUndoableOperation(fs, journalFolder, folder);
    if (!op)
        return outcome;
    outcome.found = true;
    outcome.copy = op->copy;
    OperationJournal journal(fs, journalFolder);
    journal.Reopen(op->journalPath);
    for (auto step = op->steps.rbegin(); step != op->steps.rend(); ++step) {
        if (step->kind == JournalStep::Kind::trash && step->gone && !step->back)
            outcome.problems.push_back(CannotComeBack(NameOf(step->from)));
        TakeBackStep(fs, trash, journal, *step, false, outcome);
    }
    journal.End(true);
    return outcome;
}

}  // namespace tt
