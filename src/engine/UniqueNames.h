#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/SongFileList.h"

namespace tt {

// Gives repeated proposed names a numbered suffix ("Song.mid", "Song_1.mid", ...).
// For every titled entry i in list order, each later titled entry k holding the same
// name gets i's next free counter, skipping any candidate that an entry after k
// already holds (tests hold this against the plain pairwise method). Instead of
// comparing every pair, an index maps each name to the entries holding it, and
// only entries that have a namesake after them are visited; the index is kept
// between runs, so a run after a single change costs about as much as that change.
// A list just scanned mostly holds no repeated name at all: its first run only
// looks for one, and the index waits for the first run that has work to do.
// Names compare byte for byte, or ignoring ASCII letter case where the folder's file
// system does (two names that differ in case alone would name one file there).
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
    void RunIndexed(SongFileList& list);
    // True when two titled entries hold the same name (by key).
    bool HasRepeatedName(const SongFileList& list) const;
    void Build(const SongFileList& list);
    void Sync(const SongFileList& list);
    void AddMember(const std::string& key, std::int32_t index);
    void RemoveMember(const std::string& key, std::int32_t index);
    void Process(SongFileList& list, std::int32_t i, std::vector<std::int32_t>& pending);
    // The index key of a name: the name itself, or folded when case is ignored.
    std::string Key(const std::string& name) const;

    bool m_ignoreCase = false;
    bool m_valid = false;
    bool m_lookedForRepeats = false;   // since the index was last forgotten
    std::vector<std::string> m_names;  // name known per entry
    std::vector<bool> m_titled;        // titled flag known per entry
    std::vector<std::int32_t> m_changed;
    std::unordered_map<std::string, std::vector<std::int32_t>> m_members;  // by key, ascending
    std::unordered_set<std::string> m_repeated;  // keys held by two or more entries
};

// `name` with "_<counter>" put before its last four characters ("Song.mid", 1 gives
// "Song_1.mid"); a name of four characters or fewer gets it in front.
std::string SuffixedName(const std::string& name, int counter);

}  // namespace tt
