#pragma once

#include <string>
#include <string_view>

#include "platform/PathText.h"

// Helpers for 8-bit names in the system code page (UTF-8 here): character-aware
// cuts that never split a sequence, and the program's case-insensitive order.
namespace tt {

// Length of the valid UTF-8 sequence that starts at `pos`, or 0 when none does
// (a stray continuation byte, an overlong form, a surrogate, a cut-off sequence).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

// Characters in `text`: UTF-8 sequences count one each, and so does every byte
// that does not belong to a valid sequence.
std::size_t CharacterCount(std::string_view text);

// Byte offset where the last `count` characters of `text` begin (0 when shorter).
// A byte that does not belong to a valid UTF-8 sequence counts as one character.
std::size_t OffsetOfLastChars(std::string_view text, std::size_t count);

// The last `count` characters, and everything before them.
std::string LastChars(std::string_view text, std::size_t count);
std::string WithoutLastChars(std::string_view text, std::size_t count);

// Adds a separator unless the folder already ends in one; an empty folder stays
// empty, so the name is taken relative to the current directory.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace tt
