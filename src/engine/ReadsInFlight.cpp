#include "engine/ReadsInFlight.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace tt {

ReadsInFlight::ReadsInFlight(FileSystem& fs, const std::string& folder,
                             const std::vector<const std::string*>& names)
    : m_fs(fs), m_folder(fs.HoldForReads(folder)), m_names(names) {
    if (names.size() < 2 || !fs.TakesReadsFromSeveralThreads())
        return;
    m_slots.resize(kReadsAhead);
    m_done = std::make_unique<std::atomic<std::uint32_t>[]>(kReadsAhead);
    m_readers.reserve(kReaderThreads);
    StartReaders(kFirstReaderThreads);
}

void ReadsInFlight::StartReaders(std::size_t count) {
    const std::size_t threads =
        std::min({kReaderThreads, m_names.size(), m_readers.size() + count});
    try {
        while (m_readers.size() < threads)
            m_readers.emplace_back([this] { ReadOnThread(); });
    } catch (const std::system_error&) {
        // No more threads to be had: the ones started read on; with none, the
        // caller reads one file at a time.
    }
}

ReadsInFlight::~ReadsInFlight() {
    m_stopping.store(true);
    // Readers waiting for the window wake up and see the stop.
    m_nextToHand.store(m_names.size() + kReadsAhead);
    m_nextToHand.notify_all();
    for (std::thread& reader : m_readers)
        reader.join();
}

ReadsInFlight::Slot ReadsInFlight::ReadFile(std::size_t index) {
    Slot slot;
    try {
        slot.read = ReadSongFile(m_fs, *m_folder, *m_names[index]);
    } catch (...) {
        slot.failure = std::current_exception();
    }
    return slot;
}

void ReadsInFlight::ReadOnThread() {
    for (;;) {
        const std::size_t index = m_nextToRead.fetch_add(1);
        if (index >= m_names.size())
            return;
        // A file is read only once it lies in the window after the one handed over
        // last, and not once the caller stopped the scan between two files.
        for (std::size_t handed = m_nextToHand.load(); index >= handed + kReadsAhead;
             handed = m_nextToHand.load())
            m_nextToHand.wait(handed);
        if (m_stopping.load())
            return;
        Slot slot = ReadFile(index);
        const std::size_t at = index % kReadsAhead;
        m_slots[at] = std::move(slot);
        m_done[at].store(1, std::memory_order_release);
        m_done[at].notify_one();
    }
}

SongFileRead ReadsInFlight::Next() {
    Slot slot;
    if (m_readers.empty()) {
        slot = ReadFile(m_handed++);
    } else {
        const std::size_t index = m_nextToHand.load();
        const std::size_t at = index % kReadsAhead;
        if (m_done[at].load(std::memory_order_acquire) == 0) {
            const auto start = std::chrono::steady_clock::now();
            do
                m_done[at].wait(0, std::memory_order_acquire);
            while (m_done[at].load(std::memory_order_acquire) == 0);
            if (std::chrono::steady_clock::now() - start >= kLongWait)
                StartReaders(kFirstReaderThreads);
        }
        slot = std::move(m_slots[at]);
        m_slots[at] = Slot();
        m_done[at].store(0, std::memory_order_relaxed);
        m_nextToHand.store(index + 1);
        m_nextToHand.notify_all();
    }
    if (slot.failure)
        std::rethrow_exception(slot.failure);
    return std::move(*slot.read);
}

}  // namespace tt
