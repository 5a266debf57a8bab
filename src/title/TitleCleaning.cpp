#include "title/TitleCleaning.h"

#include <array>

#include "title/TextEncoding.h"

namespace tt {

namespace {

bool IsTrimmedSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Characters no file name should hold, and control bytes, which would reach
// terminals and exported lists raw and which no new name may hold.
constexpr bool IsReplaced(unsigned char byte) {
    if (byte <= 0x1F || byte == 0x7F)
        return true;
    switch (byte) {
        case '"':
        case '*':
        case '.':
        case '/':
        case ':':
        case '<':
        case '>':
        case '?':
        case '\\':
            return true;
        default:
            return false;
    }
}

// IsReplaced for every byte, looked up once per byte of a title.
constexpr auto kReplaced = [] {
    std::array<bool, 256> replaced{};
    for (unsigned byte = 0; byte < 256; ++byte)
        replaced[byte] = IsReplaced(static_cast<unsigned char>(byte));
    return replaced;
}();

}  // namespace

std::string_view TrimTitle(std::string_view raw) {
    while (!raw.empty() && IsTrimmedSpace(raw.front()))
        raw.remove_prefix(1);
    while (!raw.empty() && IsTrimmedSpace(raw.back()))
        raw.remove_suffix(1);
    return raw;
}

void CleanTitle(std::string_view raw, std::string& out) {
    out.assign(TrimTitle(raw));
    unsigned char all = 0;  // every byte ORed, to see whether any is above 0x7F
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (kReplaced[byte])
            c = '_';
        all |= byte;
    }
    const bool ascii = all < 0x80;
    // Most titles are plain ASCII, which is valid UTF-8 as it stands: the repair
    // would copy it unchanged, so it is left out for them.
    if (!ascii)
        out = RepairToUtf8(out);
}

}  // namespace tt
