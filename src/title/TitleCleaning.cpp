#include "title/TitleCleaning.h"

#include "title/TextEncoding.h"

namespace tt {

namespace {

bool IsTrimmedSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Characters no file name should hold, and control bytes, which would reach
// terminals and exported lists raw and which no new name may hold.
bool IsReplaced(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x1F || byte == 0x7F)
        return true;
    switch (c) {
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

}  // namespace

std::string CleanTitle(std::string_view raw) {
    while (!raw.empty() && IsTrimmedSpace(raw.front()))
        raw.remove_prefix(1);
    while (!raw.empty() && IsTrimmedSpace(raw.back()))
        raw.remove_suffix(1);
    std::string text(raw);
    for (char& c : text)
        if (IsReplaced(c))
            c = '_';
    return RepairToUtf8(text);
}

}  // namespace tt
