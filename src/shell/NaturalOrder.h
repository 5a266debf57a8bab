#pragma once

#include <string_view>

namespace tt::shell {

// Orders names as people count: runs of digits compare by their value ("Track 2"
// before "Track 10"), other bytes compare with A-Z folded to a-z. Names equal by
// that rule compare by their bytes, so the order is total.
int NaturalCompare(std::string_view a, std::string_view b);

}  // namespace tt::shell
