#pragma once

#include <string>
#include <string_view>

namespace tt {

// The captured text without white space at either end: what the cleaned title is
// made of. Empty exactly when the cleaned title is, since cleaning never drops a
// byte of it.
std::string_view TrimTitle(std::string_view raw);

// Cleans a captured title for use in a file name, into `out`: white space trimmed
// from both ends, each of " * . / : < > ? \ and every control byte (0x01-0x1F, 0x7F)
// replaced by '_', then made valid UTF-8.
void CleanTitle(std::string_view raw, std::string& out);

}  // namespace tt
