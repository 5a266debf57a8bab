#include "shell/NaturalOrder.h"

namespace tt::shell {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned char Fold(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// The digit run starting at `pos` without its leading zeros; `pos` moves past it.
std::string_view TakeNumber(std::string_view text, std::size_t& pos) {
    std::size_t end = pos;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    std::size_t start = pos;
    while (start + 1 < end && text[start] == '0')
        ++start;
    pos = end;
    return text.substr(start, end - start);
}

}  // namespace

int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view numberA = TakeNumber(a, i);
            const std::string_view numberB = TakeNumber(b, j);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size() ? -1 : 1;
            if (const int order = numberA.compare(numberB); order != 0)
                return Sign(order);
            continue;
        }
        const unsigned char ca = Fold(a[i++]);
        const unsigned char cb = Fold(b[j++]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return Sign(a.compare(b));
}

}  // namespace tt::shell
