#pragma once

#include <string>

namespace tt {

// The texts of the journal, undo and recovery, in the program's language.

// The journal cannot be written: nothing was done. `reason` is the file error.
std::string JournalFailedMessage(const std::string& reason);
// Recovery: the heading over what was put right in `folder`.
std::string RecoveredHeading(const std::string& folder);
// Recovery and undo, one line each: what happened to the file `name`.
std::string BackUnderOldName(const std::string& name);
std::string TemporaryFileRemoved(const std::string& name);
// Recovery: the cut step had been done, the file is at its new name.
std::string DoneBeforeTheCut(const std::string& name, const std::string& newName);
std::string CopyToTrash(const std::string& name);
std::string LostToTrash(const std::string& name);
std::string RestoredFromTrash(const std::string& name);
// Undo: why `name` could not be taken back.
std::string ChangedSince(const std::string& name);
std::string OldNameTaken(const std::string& name, const std::string& oldName);
std::string CannotComeBack(const std::string& name);
std::string NoTrashForCopy(const std::string& name);
std::string UndoFailed(const std::string& name, const std::string& reason);

}  // namespace tt
