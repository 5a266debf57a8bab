#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/UniqueNames.h"

namespace tt {
namespace {

// A list of titled entries with the given names; "" marks an entry without title.
SongFileList MakeList(const std::vector<std::string>& names) {
    SongFileList list;
    for (const auto& name : names) {
        SongFileEntry entry;
        entry.fileName = "x.mid";
        entry.newName = name;
        entry.titleFound = name.empty() ? 0 : 1;
        list.Append(entry);
    }
    return list;
}

std::vector<std::string> Names(const SongFileList& list) {
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < list.count(); ++i)
        names.push_back(list.ElementAt(i).newName);
    return names;
}

std::vector<std::string> Unique(const std::vector<std::string>& names) {
    SongFileList list = MakeList(names);
    UniqueNames unique;
    unique.Run(list);
    return Names(list);
}

using V = std::vector<std::string>;

TEST(UniqueNames, NumbersRepeatsInListOrder) {
    EXPECT_EQ(Unique({"Song.mid", "Song.mid", "Song.mid"}),
              (V{"Song.mid", "Song_1.mid", "Song_2.mid"}));
    // The extension is part of the name, and case counts.
    EXPECT_EQ(Unique({"Song.mid", "Song.sty"}), (V{"Song.mid", "Song.sty"}));
    EXPECT_EQ(Unique({"Song.mid", "SONG.mid"}), (V{"Song.mid", "SONG.mid"}));
}

TEST(UniqueNames, OnlyLaterEntriesAreConsultedForClashes) {
    // p comes before r and is not consulted, so r ends up with p's name.
    EXPECT_EQ(Unique({"Song_1.mid", "Song.mid", "Song.mid"}),
              (V{"Song_1.mid", "Song.mid", "Song_1.mid"}));
    // A later holder of the candidate pushes the counter on.
    EXPECT_EQ(Unique({"Song.mid", "Song.mid", "Song_1.mid"}),
              (V{"Song.mid", "Song_2.mid", "Song_1.mid"}));
    // A renamed entry can be found again as the namesake of a later entry.
    EXPECT_EQ(Unique({"Song.mid", "Song_1.mid", "Song.mid"}),
              (V{"Song.mid", "Song_1.mid", "Song_1_1.mid"}));
}

TEST(UniqueNames, UntitledEntriesTakeNoPart) {
    SongFileList list = MakeList({"Song.mid", "", "Song.mid"});
    list.ElementAt(1).newName = "Song.mid";  // not titled: neither compared nor changed
    UniqueNames unique;
    unique.Run(list);
    EXPECT_EQ(Names(list), (V{"Song.mid", "Song.mid", "Song_1.mid"}));
}

TEST(UniqueNames, SuffixNeverSplitsACharacter) {
    // Names shorter than four characters are taken whole as the "extension".
    EXPECT_EQ(Unique({".pa", ".pa"}), (V{".pa", "_1.pa"}));
    EXPECT_EQ(Unique({"XAb\xC3\xA4x", "XAb\xC3\xA4x"}), (V{"XAb\xC3\xA4x", "X_1Ab\xC3\xA4x"}));
}

// Random lists built from few titles, with suffixed names mixed in, so that
// clashes, retries and double suffixes all occur.
void CheckAgainstPairwise(int seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(static_cast<unsigned>(seed));
    const V stems = {"Song", "Song_1", "Song_2", "Song_1_1", "Blue", "Blue_1", "A", ""};
    const V extensions = {".mid", ".sty", ".MID"};
    auto randomName = [&] {
        const std::string& stem = stems[random() % stems.size()];
        if (stem.empty())
            return std::string();
        return stem + extensions[random() % (seed % 3 == 0 ? 1 : extensions.size())];
    };
    const std::size_t length = 1 + random() % 60;
    V names;
    for (std::size_t i = 0; i < length; ++i)
        names.push_back(randomName());

    SongFileList fast = MakeList(names);
    SongFileList slow = MakeList(names);
    UniqueNames unique;
    for (int round = 0; round < 6; ++round) {
        unique.Run(fast);
        MakeNewNamesUniquePairwise(slow);
        ASSERT_EQ(Names(fast), Names(slow)) << "round " << round;
        // Change a few entries as a rename would, or append one as a copy would.
        for (int change = 0; change < 3; ++change) {
            const std::string name = randomName();
            if (random() % 4 == 0) {
                SongFileEntry entry;
                entry.newName = name;
                entry.titleFound = name.empty() ? 0 : 1;
                fast.Append(entry);
                slow.Append(entry);
            } else {
                const auto i = static_cast<std::int32_t>(random() % fast.count());
                for (SongFileList* list : {&fast, &slow}) {
                    list->ElementAt(i).newName = name;
                    list->ElementAt(i).titleFound = name.empty() ? 0 : 1;
                }
                unique.NoteEntryChanged(i);
            }
        }
    }
}

TEST(UniqueNames, EqualsPairwiseMethodOnRandomListsIncludingRepeatedRunsAndChanges) {
    for (int seed = 0; seed < 400; ++seed) {
        CheckAgainstPairwise(seed);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace tt
