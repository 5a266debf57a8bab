#pragma once

#include <string>

namespace tt::cli {

// A file name as the tool prints it. Names from disk may hold control bytes: on a
// terminal those could retitle or clear it, so there every name holding one is
// escaped (\t, \n, \x1b ... and a backslash as \\), as in a saved name list.
// Elsewhere a name is printed as it is, unless it holds a tab or a line feed,
// which would break the line format.
std::string PrintableName(const std::string& name, bool toTerminal);

}  // namespace tt::cli
