#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/NameText.h"

namespace tt {

// Keeps every valid UTF-8 sequence as it is and takes every other byte as a
// Windows-1252 character, converted to UTF-8; the five bytes that code page
// leaves undefined become '_'. The result is always valid UTF-8.
std::string RepairToUtf8(std::string_view text);

}  // namespace tt
