#include "title/SongData.h"

#include <algorithm>

namespace tt {

bool SongData::ReadUpTo(std::uint64_t pos) {
    if (m_source == nullptr || m_cutShort)
        return false;
    while (m_present <= pos) {
        const std::size_t want = std::min(m_block, m_size - m_present);
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
