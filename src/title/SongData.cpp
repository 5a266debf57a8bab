#include "title/SongData.h"

#include <algorithm>

namespace tt {

bool SongData::ReadUpTo(std::uint64_t pos, bool atOnce) {
    if (m_source == nullptr || m_cutShort)
        return false;
    while (m_present <= pos) {
        // pos lies below m_size, so neither way reads past the length.
        const std::size_t want = atOnce ? static_cast<std::size_t>(pos + 1 - m_present)
                                        : std::min(m_block, m_size - m_present);
        const std::size_t got = m_source->ReadNext(m_buffer + m_present, want);
        m_present += got;
        if (got < want) {
            m_cutShort = true;
            return false;
        }
        if (m_block < kLargestSongBlock)
            m_block *= 2;
    }
    return true;
}

}  // namespace tt
