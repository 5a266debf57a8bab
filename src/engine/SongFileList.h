#pragma once

#include <cstdint>
#include <vector>

#include "engine/SongFileEntry.h"

namespace tt {

// The entries of the listed folder. Its capacity grows in steps of 1000 entries; the
// storage behind it grows by half its size at a time, so appending stays cheap
// however large the folder is.
class SongFileList {
  public:
    static constexpr std::int32_t kGrowStep = 1000;

    SongFileList() = default;
    SongFileList(const SongFileList&) = delete;
    SongFileList& operator=(const SongFileList&) = delete;
    // Moving takes the block along and leaves the source empty.
    SongFileList(SongFileList&& other) noexcept;
    SongFileList& operator=(SongFileList&& other) noexcept;

    // Destroys all entries and releases the block.
    void Clear();
    // Makes room for `n` more entries; a negative count is an out-of-memory error.
    void GrowBy(std::int32_t n);
    void Append(SongFileEntry entry);
    // Sets storage aside for `n` more entries, so that appending them moves no entry
    // (a scan knows how many files it will look at). The capacity stays as it is.
    void ReserveStorage(std::int32_t n);
    // Entry `i`; an index outside 0..count-1 raises the out-of-memory error.
    SongFileEntry& ElementAt(std::int32_t i);
    const SongFileEntry& ElementAt(std::int32_t i) const;

    std::int32_t count() const { return m_count; }
    std::int32_t capacity() const { return m_capacity; }
    bool IsValidIndex(std::int32_t i) const { return i >= 0 && i < m_count; }

    // Unchecked access for the rebuild's own sort.
    SongFileEntry* items() { return m_items.data(); }

  private:
    std::vector<SongFileEntry> m_items;  // exactly the m_count entries
    std::int32_t m_capacity = 0;
    std::int32_t m_count = 0;
};

}  // namespace tt
