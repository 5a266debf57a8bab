#include "title/TextEncoding.h"

namespace tt {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the undefined ones.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string RepairToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length > 0) {
            out.append(text, pos, length);
            pos += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[pos++]);
        if (byte >= 0xA0) {
            AppendUtf8(out, byte);
        } else {
            const char16_t code = kCp1252High[byte - 0x80];
            if (code == 0)
                out += '_';
            else
                AppendUtf8(out, code);
        }
    }
    return out;
}

}  // namespace tt
