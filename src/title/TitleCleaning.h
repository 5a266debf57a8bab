#pragma once

#include <string>
#include <string_view>

namespace tt {

// Cleans a captured title for use in a file name: white space trimmed from both
// ends, each of " * . / : < > ? \ replaced by '_', then made valid UTF-8.
std::string CleanTitle(std::string_view raw);

}  // namespace tt
