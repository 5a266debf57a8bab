#include <gtest/gtest.h>

#include <string>

#include "engine/EditedName.h"

namespace tt {
namespace {

TEST(EditedName, OnlyPlainVisibleFileNamesPass) {
    using F = EditedNameFault;
    const std::string x125 = std::string(125, 'x') + "\xC3\xBC", y124(124, 'y');  // 127 bytes + 124
    const struct {
        std::string base, ext;
        F fault;
    } cases[] = {
        {"Song", ".mid", F::none},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         ".sty", F::none},
        {"a\\b:c?", ".pat", F::none},
        {"", ".mid", F::empty},
        {".", ".mid", F::leadingDot},
        {"..", ".mid", F::leadingDot},
        {".hidden", ".mid", F::leadingDot},
        {"a/b", ".mid", F::slash},
        {"a\tb", ".mid", F::controlByte},
        {std::string("a\0b", 3), ".mid", F::controlByte},
        {"a\x7f", ".mid", F::controlByte},
        {std::string(251, 'x'), ".mid", F::none},
        {std::string(252, 'x'), ".mid", F::tooLong},
        {x125 + y124, ".mid", F::none},
        {"x" + x125 + y124, ".mid", F::tooLong},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckEditedName(c.base, c.ext), c.fault) << c.base;
        EXPECT_EQ(*EditedNameFaultReason(c.fault) == '\0', c.fault == F::none);
    }
}

}  // namespace
}  // namespace tt
