#include "text/ControlBytes.h"

#include <algorithm>

namespace tt {

bool IsControlByte(unsigned char byte) {
    return byte <= 0x1F || byte == 0x7F;
}

bool HoldsControlByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return IsControlByte(static_cast<unsigned char>(c)); });
}

std::string EscapeControlBytes(std::string_view text) {
    if (!HoldsControlByte(text))
        return std::string(text);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (IsControlByte(byte))
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
        else
            out += c;
    }
    return out;
}

}  // namespace tt
