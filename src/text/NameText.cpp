#include "text/NameText.h"

namespace tt {

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t min = 0;
    char32_t value = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, value = lead & 0x07u;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if ((byte & 0xC0u) != 0x80u)
            return 0;
        value = (value << 6) | (byte & 0x3Fu);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

namespace {

// Where the character after the one at `pos` begins.
std::size_t NextChar(std::string_view text, std::size_t pos) {
    const std::size_t length = Utf8SequenceLength(text, pos);
    return pos + (length == 0 ? 1 : length);
}

}  // namespace

std::size_t CharacterCount(std::string_view text) {
    std::size_t total = 0;
    for (std::size_t pos = 0; pos < text.size(); pos = NextChar(text, pos))
        ++total;
    return total;
}

std::size_t OffsetOfLastChars(std::string_view text, std::size_t count) {
    // An ASCII byte is a character of its own (no UTF-8 sequence holds one), so
    // when the last `count` bytes are all ASCII, as an extension mostly is, they
    // are the last `count` characters; no need to count the whole name.
    if (count <= text.size()) {
        const std::size_t tail = text.size() - count;
        std::size_t pos = tail;
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        if (pos == text.size())
            return tail;
    }
    // Characters are found walking forward, so an invalid byte is never mistaken
    // for the tail of a sequence: count them all, then walk to the first kept one.
    const std::size_t total = CharacterCount(text);
    if (total <= count)
        return 0;
    std::size_t pos = 0;
    for (std::size_t skip = total - count; skip > 0; --skip)
        pos = NextChar(text, pos);
    return pos;
}

std::string LastChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(OffsetOfLastChars(text, count)));
}

std::string WithoutLastChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, OffsetOfLastChars(text, count)));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    if (!folder.empty() && folder.back() != '/')
        path += '/';
    path += name;
    return path;
}

}  // namespace tt
