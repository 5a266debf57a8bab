#pragma once

#include <stdexcept>
#include <string>

namespace tt::cli {

// A folder named on the command line that cannot serve: missing, no folder, or
// closed to this user. The text names the path and says what is wrong. Checked
// before anything is read or written, so a typing mistake touches nothing.
class FolderArgumentError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What a command does with a folder: lists it, or puts files into it.
enum class FolderUse { read, write };

// Throws FolderArgumentError unless `path` is a folder this user may use as
// `use` says. `role` names it in the message ("folder", "destination folder").
void CheckFolderArgument(const std::string& path, const std::string& role, FolderUse use);

}  // namespace tt::cli
