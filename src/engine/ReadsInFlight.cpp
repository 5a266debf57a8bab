#include "engine/ReadsInFlight.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace tt {

ReadsInFlight::ReadsInFlight(FileSystem& fs, const std::string& folder,
                             const std::vector<const std::string*>& names)
    : m_fs(fs), m_folder(folder), m_names(names) {
    if (names.size() < 2 || !fs.TakesReadsFromSeveralThreads())
        return;
    m_slots.resize(kReadsAhead);
    m_done.assign(kReadsAhead, false);
    const std::size_t threads = std::min(kReaderThreads, names.size());
    m_readers.reserve(threads);
    try {
        for (std::size_t i = 0; i < threads; ++i)
            m_readers.emplace_back([this] { ReadOnThread(); });
    } catch (const std::system_error&) {
        // No more threads to be had: the ones started read on; with none, the
        // caller reads one file at a time.
    }
}

ReadsInFlight::~ReadsInFlight() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_handedOver.notify_all();
    for (std::thread& reader : m_readers)
        reader.join();
}

ReadsInFlight::Slot ReadsInFlight::ReadFile(std::size_t index) {
    Slot slot;
    try {
        slot.read = ReadSongFile(m_fs, m_folder, *m_names[index]);
    } catch (...) {
        slot.failure = std::current_exception();
    }
    return slot;
}

void ReadsInFlight::ReadOnThread() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        // A file is taken up only while it lies in the window after the one handed
        // over last; the caller stops the scan between two files, and from then on
        // none is taken up.
        while (!m_stopping && m_nextToRead < m_names.size() &&
               m_nextToRead >= m_nextToHand + kReadsAhead) {
            ++m_readersWaiting;
            m_handedOver.wait(lock);
            --m_readersWaiting;
        }
        if (m_stopping || m_nextToRead >= m_names.size())
            return;
        const std::size_t index = m_nextToRead++;
        lock.unlock();
        Slot slot = ReadFile(index);
        lock.lock();
        const std::size_t at = index % kReadsAhead;
        m_slots[at] = std::move(slot);
        m_done[at] = true;
        if (m_callerWaits && index == m_nextToHand)
            m_arrived.notify_one();
    }
}

SongFileRead ReadsInFlight::Next() {
    Slot slot;
    if (m_readers.empty()) {
        slot = ReadFile(m_nextToHand++);
    } else {
        std::unique_lock lock(m_mutex);
        const std::size_t at = m_nextToHand % kReadsAhead;
        while (!m_done[at]) {
            m_callerWaits = true;
            m_arrived.wait(lock);
            m_callerWaits = false;
        }
        slot = std::move(m_slots[at]);
        m_slots[at] = Slot();
        m_done[at] = false;
        ++m_nextToHand;
        if (m_readersWaiting > 0)
            m_handedOver.notify_one();
    }
    if (slot.failure)
        std::rethrow_exception(slot.failure);
    return std::move(*slot.read);
}

}  // namespace tt
