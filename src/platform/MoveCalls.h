#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace tt {

// The system calls a move of a file is made of. Each returns 0 when it succeeded,
// else the errno value. The file system of this machine makes them for real; a
// test stands in for a file system driver that answers them its own way.
class MoveCalls {
  public:
    virtual ~MoveCalls() = default;
    // rename(2) that fails with EEXIST when anything is at `to` (RENAME_NOREPLACE).
    virtual int RenameNoReplace(const std::string& from, const std::string& to) = 0;
    // A second name `to` for the file `from` (link(2)).
    virtual int Link(const std::string& from, const std::string& to) = 0;
    // Creates an empty file at `path`; fails with EEXIST when anything is there.
    virtual int CreateExclusive(const std::string& path) = 0;
    // rename(2): replaces what is at `to`.
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Unlink(const std::string& path) = 0;
    // True when anything (file, folder, link) is at `path`.
    virtual bool Exists(const std::string& path) = 0;
};

// The system calls of this machine.
MoveCalls& SystemMoveCalls();

// The file system of this machine, its moves made of `calls` (which must outlive it).
std::unique_ptr<FileSystem> MakeFileSystemMovingWith(MoveCalls& calls);

}  // namespace tt
