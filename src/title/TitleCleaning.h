#pragma once

#include <string>
#include <string_view>

namespace tt {

// Cleans a captured title for use in a file name: white space trimmed from both
// ends, each of " * . / : < > ? \ and every control byte (0x01-0x1F, 0x7F) replaced
// by '_', then made valid UTF-8.
std::string CleanTitle(std::string_view raw);

}  // namespace tt
