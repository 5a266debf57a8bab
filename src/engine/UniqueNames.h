#pragma once

#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/NameKeys.h"
#include "engine/SongFileList.h"

namespace tt {

// Gives repeated proposed names a numbered suffix ("Song.mid", "Song_1.mid", ...).
// For every titled entry i in list order, each later titled entry k holding the same
// name gets i's next free counter, skipping any candidate that an entry after k
// already holds (tests hold this against the plain pairwise method). Instead of
// comparing every pair, an index maps each name (by its id, see NameKeys) to the
// entries holding it, and only entries that have a namesake after them are visited;
// the index is kept between runs, so a run after a single change costs about as
// much as that change.
// A list just scanned mostly holds no repeated name at all: its first run only
// looks for one, and the index waits for the first run that has work to do.
// Names compare byte for byte, or ignoring ASCII letter case where the folder's file
// system does (two names that differ in case alone would name one file there).
//
// One change can still walk far: renaming songs of one title one after the other,
// each comes back with the plain name and passes every song renamed before it,
// taking one "_1" more from each (Tune_1_1_1.mid for the fourth). Such a walk, one
// namesake at a time with counter 1 through names held by one entry each in list
// order, is kept as a chain, and the next walk along it jumps to where it leaves it.
class UniqueNames {
  public:
    // Compare ignoring ASCII case from the next run on (forgets the index on a change).
    void SetIgnoreCase(bool ignoreCase);
    bool ignoresCase() const { return m_ignoreCase; }
    // Makes the names of `list` unique; the index follows the list.
    void Run(SongFileList& list);
    // Forget the index; the next run builds it afresh (after a rebuild of the list).
    void Invalidate();
    // Entry `index` may have a new `newName` or `titleFound` since the last run.
    void NoteEntryChanged(std::int32_t index);

  private:
    using Id = NameKeys::Id;
    using Queue = std::priority_queue<std::int32_t, std::vector<std::int32_t>, std::greater<>>;
    struct KeyState {
        std::vector<std::int32_t> members;  // entries holding the name, ascending
        std::int32_t chain = -1;            // the chain holding it, and where
        std::size_t chainAt = 0;
    };
    // Names each the one before with suffix 1, each held by the entry beside it; the
    // holders ascend. A holder leaving its name (but the first) ends the chain.
    struct Chain {
        std::vector<Id> keys;
        std::vector<std::int32_t> holders;
        bool live = true;
    };

    void RunIndexed(SongFileList& list);
    // True when two titled entries hold the same name (by key).
    bool HasRepeatedName(const SongFileList& list) const;
    void Build(const SongFileList& list);
    void Sync(const SongFileList& list);
    KeyState& State(Id id);
    void AddMember(Id id, std::int32_t index);
    void RemoveMember(Id id, std::int32_t index);
    void Process(SongFileList& list, std::int32_t i, std::vector<std::int32_t>& pending);
    // Chains: where `id` lies on a live one, and their upkeep as holders leave.
    Chain* ChainOf(Id id);
    void Left(Id id, std::int32_t index);
    void Break(Chain& chain);
    void RecordStep(std::int32_t i, Id from, Id to, std::int32_t k);
    void Append(Chain& chain, Id id, std::int32_t holder);
    bool Jump(SongFileList& list, std::int32_t i, Queue& queue);

    bool m_ignoreCase = false;
    bool m_valid = false;
    bool m_lookedForRepeats = false;  // since the index was last forgotten
    NameKeys m_keys;
    std::vector<Id> m_key;  // id of the name known per entry, -1 without title
    std::vector<std::int32_t> m_changed;
    std::vector<KeyState> m_states;     // by id
    std::unordered_set<Id> m_repeated;  // ids held by two or more entries
    std::vector<Chain> m_chains;
};

// `name` with "_<counter>" put before its last four characters ("Song.mid", 1 gives
// "Song_1.mid"); a name of four characters or fewer gets it in front.
std::string SuffixedName(const std::string& name, int counter);

}  // namespace tt
