#include "engine/NameText.h"

#include "title/TextEncoding.h"

namespace tt {

namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::size_t OffsetOfLastChars(std::string_view text, std::size_t count) {
    // Characters are found walking forward, so an invalid byte is never mistaken
    // for the tail of a sequence: count them all, then walk to the first kept one.
    const auto next = [&](std::size_t pos) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        return pos + (length == 0 ? 1 : length);
    };
    std::size_t total = 0;
    for (std::size_t pos = 0; pos < text.size(); pos = next(pos))
        ++total;
    if (total <= count)
        return 0;
    std::size_t pos = 0;
    for (std::size_t skip = total - count; skip > 0; --skip)
        pos = next(pos);
    return pos;
}

std::string LastChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(OffsetOfLastChars(text, count)));
}

std::string WithoutLastChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, OffsetOfLastChars(text, count)));
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
        const auto y = static_cast<unsigned char>(FoldAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string FoldAsciiCase(std::string text) {
    for (char& c : text)
        c = FoldAscii(c);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

}  // namespace tt
