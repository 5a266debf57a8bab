#pragma once

#include <string>
#include <string_view>

// Control bytes in names: file names may hold any byte but '/' and zero, and a
// tab, line break or escape sequence written raw would break a line-based list or
// a terminal. These helpers find such bytes and write them visibly.
namespace tt {

// True for 0x00–0x1F and 0x7F.
bool IsControlByte(unsigned char byte);
bool HoldsControlByte(std::string_view text);

// `text` itself when it holds no control byte. Otherwise a copy with every control
// byte escaped: tab, line feed and carriage return as \t, \n and \r, the others as
// \xNN (two lower-case hex digits); a backslash is then written \\ too, so the
// escaped text reads back to the name. Every other byte stays as it is.
std::string EscapeControlBytes(std::string_view text);

}  // namespace tt
