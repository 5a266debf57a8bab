#include "engine/NameText.h"

#include "title/TextEncoding.h"

namespace tt {

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

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

}  // namespace tt
