#include "engine/NameKeys.h"

#include "engine/UniqueNames.h"
#include "platform/PathText.h"
#include "text/NameText.h"

namespace tt {

namespace {

// The number of a trailing "_<number>" group as a suffix writes it (no leading
// zero, fits an int), or 0 when `digits` is not one.
int SuffixNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 10 || digits[0] == '0')
        return 0;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value > INT32_MAX ? 0 : static_cast<int>(value);
}

}  // namespace

void NameKeys::SetIgnoreCase(bool ignoreCase) {
    if (ignoreCase != m_ignoreCase)
        Clear();
    m_ignoreCase = ignoreCase;
}

void NameKeys::Clear() {
    m_nodes.clear();
    m_roots.clear();
    m_children.clear();
}

NameKeys::Id NameKeys::NewNode(Id parent, int counter, bool fullTail) {
    m_nodes.push_back({parent, counter, fullTail});
    return static_cast<Id>(m_nodes.size() - 1);
}

NameKeys::Id NameKeys::Child(Id parent, int counter) {
    const std::uint64_t key = static_cast<std::uint64_t>(static_cast<std::uint32_t>(parent)) << 32 |
                              static_cast<std::uint32_t>(counter);
    const auto found = m_children.find(key);
    if (found != m_children.end())
        return found->second;
    const Id id = NewNode(parent, counter, true);
    m_children.emplace(key, id);
    return id;
}

NameKeys::Id NameKeys::Of(std::string_view name) {
    const std::string key = m_ignoreCase ? FoldAsciiCase(std::string(name)) : std::string(name);
    // A name shorter than four characters takes its suffix in front, and the new
    // name's last four characters differ: it is held whole.
    std::string root;
    std::vector<int> numbers;
    const bool fullTail = CharacterCount(key) >= 4;
    if (!fullTail) {
        root.assign(1, 's');
        root += key;
    } else {
        const std::size_t cut = OffsetOfLastChars(key, 4);
        std::size_t end = cut;
        for (;;) {
            const std::size_t mark = end == 0 ? std::string::npos : key.rfind('_', end - 1);
            if (mark == std::string::npos)
                break;
            const int number = SuffixNumber(std::string_view(key).substr(mark + 1, end - mark - 1));
            if (number == 0)
                break;
            numbers.push_back(number);
            end = mark;
        }
        // Length first, so that stripped part and tail cannot run into each other.
        root.assign(1, 'f');
        root += std::to_string(end);
        root += ':';
        root.append(key, 0, end);
        root.append(key, cut, std::string::npos);
    }
    Id id;
    const auto found = m_roots.find(root);
    if (found != m_roots.end()) {
        id = found->second;
    } else {
        id = NewNode(-1, 0, fullTail);
        m_roots.emplace(std::move(root), id);
    }
    for (auto number = numbers.rbegin(); number != numbers.rend(); ++number)
        id = Child(id, *number);
    return id;
}

NameKeys::Id NameKeys::Suffixed(Id id, const std::string& name, int counter) {
    return HasFullTail(id) ? Child(id, counter) : Of(SuffixedName(name, counter));
}

}  // namespace tt
