#include "PairwiseUniqueNames.h"

#include <string>

#include "engine/UniqueNames.h"
#include "platform/PathText.h"

namespace tt::test {

void MakeNewNamesUniquePairwise(SongFileList& list, bool ignoreCase) {
    const auto same = [ignoreCase](const std::string& a, const std::string& b) {
        return ignoreCase ? EqualsNoCase(a, b) : a == b;
    };
    const std::int32_t count = list.count();
    for (std::int32_t i = 0; i < count; ++i) {
        if (!list.ElementAt(i).titleFound)
            continue;
        int counter = 0;
        for (std::int32_t k = i + 1; k < count; ++k) {
            SongFileEntry& other = list.ElementAt(k);
            if (!other.titleFound || !same(other.newName, list.ElementAt(i).newName))
                continue;
            std::string candidate;
            bool clash = true;
            while (clash) {
                candidate = SuffixedName(other.newName, ++counter);
                clash = false;
                for (std::int32_t m = k + 1; m < count && !clash; ++m) {
                    const SongFileEntry& later = list.ElementAt(m);
                    clash = later.titleFound && same(later.newName, candidate);
                }
            }
            other.newName = candidate;
        }
    }
}

}  // namespace tt::test
