#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tt {

// Length of the valid UTF-8 sequence that starts at `pos`, or 0 when none does
// (a stray continuation byte, an overlong form, a surrogate, a cut-off sequence).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

// Keeps every valid UTF-8 sequence as it is and takes every other byte as a
// Windows-1252 character, converted to UTF-8; the five bytes that code page
// leaves undefined become '_'. The result is always valid UTF-8.
std::string RepairToUtf8(std::string_view text);

}  // namespace tt
