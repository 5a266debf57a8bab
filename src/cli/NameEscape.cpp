#include "cli/NameEscape.h"

#include <algorithm>
#include <cstdio>

namespace tt::cli {

namespace {

bool IsControl(unsigned char byte) {
    return byte <= 0x1F || byte == 0x7F;
}

bool NeedsEscaping(const std::string& name, bool toTerminal) {
    return std::any_of(name.begin(), name.end(), [&](char c) {
        return toTerminal ? IsControl(static_cast<unsigned char>(c)) : c == '\t' || c == '\n';
    });
}

}  // namespace

std::string PrintableName(const std::string& name, bool toTerminal) {
    if (!NeedsEscaping(name, toTerminal))
        return name;
    std::string out;
    out.reserve(name.size() + 8);
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                out += "\\\\";
                continue;
            case '\a':
                out += "\\a";
                continue;
            case '\b':
                out += "\\b";
                continue;
            case '\t':
                out += "\\t";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\v':
                out += "\\v";
                continue;
            case '\f':
                out += "\\f";
                continue;
            case '\r':
                out += "\\r";
                continue;
            default:
                break;
        }
        if (IsControl(byte)) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tt::cli
