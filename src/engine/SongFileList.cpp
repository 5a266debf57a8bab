#include "engine/SongFileList.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tt {

SongFileList::SongFileList(SongFileList&& other) noexcept
    : m_items(std::exchange(other.m_items, {})),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_count(std::exchange(other.m_count, 0)) {}

SongFileList& SongFileList::operator=(SongFileList&& other) noexcept {
    if (this != &other) {
        m_items = std::exchange(other.m_items, {});
        m_capacity = std::exchange(other.m_capacity, 0);
        m_count = std::exchange(other.m_count, 0);
    }
    return *this;
}

void SongFileList::Clear() {
    std::vector<SongFileEntry>().swap(m_items);
    m_capacity = 0;
    m_count = 0;
}

void SongFileList::GrowBy(std::int32_t n) {
    if (n < 0)
        throw std::bad_alloc();
    if (n == 0)
        return;
    const std::int64_t needed = static_cast<std::int64_t>(m_count) + n;
    if (needed <= m_capacity)
        return;
    std::int64_t capacity = static_cast<std::int64_t>(m_capacity) + kGrowStep;
    if (needed > capacity)
        capacity = needed;
    if (capacity > INT32_MAX)
        throw std::bad_alloc();
    const std::size_t storage = static_cast<std::size_t>(capacity);
    if (storage > m_items.capacity())
        m_items.reserve(std::max(storage, m_items.capacity() + m_items.capacity() / 2));
    m_capacity = static_cast<std::int32_t>(capacity);
}

void SongFileList::ReserveStorage(std::int32_t n) {
    if (n > 0)
        m_items.reserve(m_items.size() + static_cast<std::size_t>(n));
}

void SongFileList::Append(SongFileEntry entry) {
    GrowBy(1);
    m_items.push_back(std::move(entry));
    ++m_count;
}

SongFileEntry& SongFileList::ElementAt(std::int32_t i) {
    if (!IsValidIndex(i))
        throw std::bad_alloc();
    return m_items[i];
}

const SongFileEntry& SongFileList::ElementAt(std::int32_t i) const {
    if (!IsValidIndex(i))
        throw std::bad_alloc();
    return m_items[i];
}

}  // namespace tt
