#pragma once

#include <optional>

namespace tt {

// Options that print and end before any window, settings or running copy is
// touched (--help, --version). Returns the exit status when the program should
// end now, nothing when it should start as usual.
std::optional<int> HandleCommandLine(int argc, char** argv);

}  // namespace tt
