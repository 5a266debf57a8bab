#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/SongFileList.h"

namespace tt {

// The entries of the list by the name of their file, with A-Z folded to a-z, so an
// operation finds the entry a name of the listed folder stands for (in any letter
// case) without walking the list. Built at its first use in an operation and kept up
// to date as the operation renames and appends entries.
class ListedNames {
  public:
    // Forgets the index (start of an operation).
    void Reset() {
        m_byName.clear();
        m_built = false;
    }
    // Indexes `list` unless that was done since the last Reset.
    void Build(const SongFileList& list);
    // Entry `index` is now named `newName` instead of `oldName`.
    void Renamed(std::int32_t index, const std::string& oldName, const std::string& newName);
    // Entry `index`, named `name`, was appended.
    void Appended(std::int32_t index, const std::string& name);
    // Indices of the entries whose name equals `name` ignoring ASCII case, ascending.
    const std::vector<std::int32_t>& Find(const std::string& name) const;

  private:
    std::unordered_map<std::string, std::vector<std::int32_t>> m_byName;
    bool m_built = false;
};

}  // namespace tt
