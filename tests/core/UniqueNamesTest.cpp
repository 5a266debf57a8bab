#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PairwiseUniqueNames.h"
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

std::vector<std::string> Unique(const std::vector<std::string>& names, bool ignoreCase = false) {
    SongFileList list = MakeList(names);
    UniqueNames unique;
    unique.SetIgnoreCase(ignoreCase);
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
    // Where the folder ignores case, so do the names; the suffix keeps each one's case.
    EXPECT_EQ(Unique({"Tune.MID", "Tune.mid", "TUNE_1.mid"}, true),
              (V{"Tune.MID", "Tune_2.mid", "TUNE_1.mid"}));
}

TEST(UniqueNames, RepeatInLetterCaseIsFoundAmongManyNames) {
    // The first run only looks for a repeat: among a thousand other names the two
    // spellings meet there only when the look-up folds case as the names do.
    V names;
    for (int i = 0; i < 1000; ++i)
        names.push_back("Song" + std::to_string(i) + ".mid");
    names.push_back("Tune.MID");
    names.push_back("Tune.mid");
    EXPECT_EQ(Unique(names, true).back(), "Tune_1.mid");
    EXPECT_EQ(Unique(names, false).back(), "Tune.mid");
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

// Runs the indexed method and the pairwise one on equal lists, again after each of
// `rounds` changes made by `change(round, set)`; `set(i, entry)` changes entry i in
// both (i at the end appends it) and tells the index.
template <typename Change>
void RunAgainstPairwise(const std::vector<SongFileEntry>& entries, bool ignoreCase, int rounds,
                        Change change) {
    SongFileList fast;
    SongFileList slow;
    for (const SongFileEntry& entry : entries) {
        fast.Append(entry);
        slow.Append(entry);
    }
    UniqueNames unique;
    unique.SetIgnoreCase(ignoreCase);
    const auto set = [&](std::int32_t i, const SongFileEntry& entry) {
        for (SongFileList* both : {&fast, &slow}) {
            if (i == both->count())
                both->Append(entry);
            else
                both->ElementAt(i) = entry;
        }
        unique.NoteEntryChanged(i);
    };
    for (int round = 0; round <= rounds; ++round) {
        unique.Run(fast);
        test::MakeNewNamesUniquePairwise(slow, ignoreCase);
        ASSERT_EQ(Names(fast), Names(slow)) << "round " << round;
        change(round, set, fast.count());
    }
}

// Random lists drawn from a window of few names, so that clashes, retries and
// double suffixes all occur: suffixed forms of the plain names, names shorter
// than four characters, multi-byte characters in the cut, and entries without a
// title that still hold a name. Between runs a few entries change, as a rename
// would change them, or one is appended, as a copy would be.
void CheckRandomLists(int seed, bool ignoreCase) {
    std::mt19937 random(static_cast<unsigned>(seed));
    const V pool = {"Song.mid",   "Song_1.mid",  "Song_2.mid", "Song_1_1.mid", "Song.sty",
                    "Song.MID",   "song_1.MID",  "Blue.mid",   "Blue_1.mid",   "A.mid",
                    "A",          "_1A",         "_2A",        "_1_1A",        "ab",
                    "_1ab",       ".pa",         "_1.pa",      "x\xC3\xA4.mi", "x_1\xC3\xA4.mi",
                    "\xC3\xA4.m", "_1\xC3\xA4.m"};
    const std::size_t window = 2 + random() % (pool.size() - 1);
    const std::size_t offset = random() % pool.size();
    auto randomEntry = [&] {
        SongFileEntry entry;
        const std::size_t pick = random() % (window + 1);
        if (pick == window)
            return entry;  // no title, no name
        entry.newName = pool[(offset + pick) % pool.size()];
        entry.titleFound = random() % 6 == 0 ? 0 : 1;
        return entry;
    };
    std::vector<SongFileEntry> list;
    for (std::size_t i = 1 + random() % (seed % 5 == 0 ? 100 : 40); i > 0; --i)
        list.push_back(randomEntry());
    RunAgainstPairwise(list, ignoreCase, 5, [&](int, const auto& set, std::int32_t count) {
        for (int change = 0; change < 3; ++change) {
            const bool append = random() % 4 == 0;
            set(append ? count++ : static_cast<std::int32_t>(random() % count), randomEntry());
        }
    });
}

// Songs of few titles renamed one after the other: each comes back with its plain
// name, as the title read after a rename gives it, and walks through the names of
// the songs renamed before it. Now and then another entry changes or one is
// appended, which cuts such walks short.
void CheckRenamesInTurn(int seed, bool ignoreCase) {
    std::mt19937 random(static_cast<unsigned>(seed));
    const V plain = {"Tune.mid", "TUNE.mid", "Tune_1.mid",  "Tune_01.mid",
                     "Blue.mid", "ab",       "x\xC3\xA4.mi"};
    const std::size_t titles = 1 + random() % (seed % 3 == 0 ? plain.size() : 2);
    const auto titled = [](const std::string& name) { return MakeList({name}).ElementAt(0); };
    std::vector<SongFileEntry> songs;
    for (std::size_t i = 1 + random() % 80; i > 0; --i)
        songs.push_back(titled(plain[random() % titles]));
    const auto count = static_cast<int>(songs.size());
    RunAgainstPairwise(songs, ignoreCase, count, [&](int k, const auto& set, std::int32_t end) {
        if (k == count)
            return;
        const bool other = random() % 8 == 0;
        const SongFileEntry entry = other ? titled(plain[random() % plain.size()]) : songs[k];
        set(other ? static_cast<std::int32_t>(random() % end) : k, entry);
        if (random() % 16 == 0)
            set(end, entry);
    });
}

TEST(UniqueNames, EqualsPairwiseMethodOnRandomListsAndWhileSongsAreRenamedInTurn) {
    for (int seed = 0; seed < 1100; ++seed) {
        const bool inTurn = seed >= 800;
        SCOPED_TRACE((inTurn ? "renamed in turn, seed " : "random list, seed ") +
                     std::to_string(seed / 2) + (seed % 2 ? ", ignoring case" : ""));
        if (inTurn)
            CheckRenamesInTurn(seed / 2, seed % 2 == 1);
        else
            CheckRandomLists(seed / 2, seed % 2 == 1);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace tt
