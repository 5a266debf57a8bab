#pragma once

#include <cstddef>
#include <string>

namespace tt {

// What is wrong with a new name the user typed, if anything. The rename puts the
// name into the listed folder as it is, so it must be a plain, visible file name.
enum class EditedNameFault {
    none,
    empty,        // no base name at all
    leadingDot,   // ".", ".." or a hidden name: the song would vanish from the list
    slash,        // '/' separates folders: the song would move elsewhere or fail
    controlByte,  // 0x00–0x1F or 0x7F
    tooLong,      // more than 255 bytes with the extension
};

// Longest file name in bytes the file systems take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Judges the base name `base` the user typed, followed by the extension `ext`
// (dot included) that it will carry.
EditedNameFault CheckEditedName(const std::string& base, const std::string& ext);

// Why the name is refused, in one English sentence ("" for none), for the
// command-line tool; the window says "Invalid filename!" for all of them.
const char* EditedNameFaultReason(EditedNameFault fault);

// The message for a refused name, in the current UI language.
const char* InvalidFileNameText();

}  // namespace tt
