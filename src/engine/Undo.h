#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/OperationJournal.h"
#include "engine/Trash.h"
#include "platform/FileSystem.h"

namespace tt {

// What taking back an operation (or part of one) did.
struct UndoOutcome {
    bool found = false;  // there was an operation to take back
    bool copy = false;
    std::vector<std::pair<std::string, std::string>> movedBack;  // (new path, old path)
    std::vector<std::string> trashed;                            // copies moved to the trash
    std::vector<std::string> restored;  // replaced files back from the trash
    std::vector<std::string> removed;   // unfinished or split copies removed (recovery)
    std::vector<std::string> problems;  // what could not be taken back, one line each
};

// True when `a` and `b` name one folder, however each is written.
bool SameFolder(const std::string& a, const std::string& b);

// The newest operation on `folder` (the folder listed when it ran) that ended and
// was not taken back, with files left to take back.
std::optional<JournalOperation> LastUndoableOperation(FileSystem& fs,
                                                      const std::string& journalFolder,
                                                      const std::string& folder);

// Takes back the newest operation on `folder`: every file goes back to its old name
// in reverse order, only where the file at the new name is still the one the
// operation left there and the old name is free; copies go to the trash, and files
// replaced after a Yes come back from it. Nothing is replaced or deleted. The
// operation is marked as taken back, so the next undo takes the one before.
// Throws FileError when the journal cannot be written.
UndoOutcome UndoLastOperation(FileSystem& fs, Trash* trash, const std::string& journalFolder,
                              const std::string& folder);

// Takes back one finished step, recording it in `journal` (open). A copy goes to the
// trash; without one it stays, unless `mayRemoveCopies` (a recovery removes a copy
// it just made and that still is what it made: the original is where it was).
void TakeBackStep(FileSystem& fs, Trash* trash, OperationJournal& journal, JournalStep& step,
                  bool mayRemoveCopies, UndoOutcome& outcome);

}  // namespace tt
