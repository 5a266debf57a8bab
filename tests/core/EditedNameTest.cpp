#include <gtest/gtest.h>

#include <string>

#include "engine/EditedName.h"

namespace tt {
namespace {

TEST(EditedName, OnlyPlainVisibleFileNamesPass) {
    using F = EditedNameFault;
    const std::string umlaut = "\xC3\xBC";  // two bytes
    struct Case {
        std::string base, ext;
        F fault;
    };
    const Case cases[] = {
        {"Song", ".mid", F::none},
        {" ", ".mid", F::none},  // blanks pass, as they always did
        {"Gr" + umlaut +
             "\xC3\x9F"
             "e",
         ".sty", F::none},
        {"a\\b:c?", ".pat", F::none},
        {"", ".mid", F::empty},
        {".", ".mid", F::leadingDot},
        {"..", ".mid", F::leadingDot},
        {"..", "", F::leadingDot},
        {".hidden", ".mid", F::leadingDot},
        {"a/b", ".mid", F::slash},
        {"a\tb", ".mid", F::controlByte},
        {"a\nb", ".mid", F::controlByte},
        {std::string("a\0b", 3), ".mid", F::controlByte},
        {"a\x7f", ".mid", F::controlByte},
        {std::string(251, 'x'), ".mid", F::none},  // 255 bytes
        {std::string(252, 'x'), ".mid", F::tooLong},
        {std::string(125, 'x') + umlaut + std::string(124, 'y'), ".mid", F::none},
        {std::string(126, 'x') + umlaut + std::string(124, 'y'), ".mid", F::tooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base + c.ext);
        EXPECT_EQ(CheckEditedName(c.base, c.ext), c.fault);
        EXPECT_EQ(*EditedNameFaultReason(c.fault) == '\0', c.fault == F::none);
    }
}

}  // namespace
}  // namespace tt
