#pragma once

#include <string>

#include "platform/FileHandle.h"

namespace tt {

// The system calls the operation journal needs beyond the FileSystem interface:
// its folder made, its file opened for appending and held with a lock while its
// operation runs, and the lock of another process's journal looked at. The
// journal's writes and syncs go through FileSystem like every other file step.

// Creates `folder` and its missing parents (mode 0700). Throws FileError.
void MakeFolders(const std::string& folder);

// Opens (creating it when missing) `path` for appending and takes an exclusive
// lock on it that lasts as long as the handle. Throws FileError naming `path`;
// a journal locked by another process fails with lockViolation.
FileHandle OpenJournalLocked(const std::string& path);

// True when another process holds the lock of the journal at `path` (its
// operation is still running); false when nobody does or it cannot be opened.
bool JournalInUse(const std::string& path);

// The folder `path` names with every link and "." or ".." resolved, for
// comparing folders however they were written; `path` itself when it cannot be
// resolved.
std::string ResolvedFolder(const std::string& path);

// False where the file system at `path` numbers its files anew at every mount
// (FAT, exFAT, NTFS, network shares, FUSE drivers), so an inode number tells
// nothing about a file seen in an earlier mount.
bool KeepsInodeNumbers(const std::string& path);

// The current folder ("." when it cannot be told).
std::string CurrentFolder();

// A test hook: when TUNETITLER_KILL_AT_STEP=N is set, the Nth changing file step
// of the process (create, write, sync, move, remove, each half of a move through
// a temporary name) ends it with SIGKILL before it is done, as a power cut would;
// with N:SIGNAL the process is sent that signal instead (2: as Ctrl-C). Does
// nothing when the variable is not set.
void ReachFileStep();

}  // namespace tt
