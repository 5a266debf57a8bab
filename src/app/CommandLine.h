#pragma once

#include <optional>
#include <string>

namespace tt {

// Options that print and end before any window, settings or running copy is
// touched (--help, --version). Returns the exit status when the program should
// end now, nothing when it should start as usual.
std::optional<int> HandleCommandLine(int argc, char** argv);

// The folder named on the command line: the first argument that is no option (or
// the first after "--"), as the bytes the file system knows it by. A relative
// path is taken from `currentDir` (this start's current folder, not a running
// copy's); "." and ".." steps are resolved. Empty when no folder is named.
// Called with the arguments Qt leaves once it has taken its own.
std::string FolderArgument(int argc, char** argv, const std::string& currentDir);

}  // namespace tt
