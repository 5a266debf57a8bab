#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/SongFileRead.h"
#include "platform/FileSystem.h"

namespace tt {

// Reads the song files of a scan, several at once, and hands them over in list
// order. On a cold cache, a stick or a network share most of a scan's time is the
// wait for each file's first block; a few reader threads keep that many waits
// running side by side. Only reading happens on them: the caller takes every
// result on its own thread, in order, and reports, counts and stops there as with
// one read at a time. Reads run at most kReadsAhead files ahead of the one handed
// over last, so the results held stay few however large the folder is.
//
// Reading from the page cache, a few readers keep the processors busy, and more
// would only take turns with the caller's thread; so the readers start few, and
// grow in number each time the caller waits long for a read, as it does for a
// device or a share.
//
// Where the file layer cannot take calls from several threads, or there is only one
// file, no thread is started and each Next reads its file on the caller's thread.
class ReadsInFlight {
  public:
    static constexpr std::size_t kFirstReaderThreads = 4;
    static constexpr std::size_t kReaderThreads = 16;  // at most
    static constexpr std::size_t kReadsAhead = 64;
    // A wait this long is a wait for a device, not for the page cache.
    static constexpr std::chrono::microseconds kLongWait{1000};

    // Starts reading `names` (in `folder`); `names` must outlive this object.
    ReadsInFlight(FileSystem& fs, const std::string& folder,
                  const std::vector<const std::string*>& names);
    ReadsInFlight(const ReadsInFlight&) = delete;
    ReadsInFlight& operator=(const ReadsInFlight&) = delete;
    // Starts no further read and waits for those under way; their results are dropped.
    ~ReadsInFlight();

    // The read of the next file in list order, waiting for it where it is still
    // under way. An error other than a read error (which the result carries) is
    // thrown here, on the caller's thread.
    SongFileRead Next();

  private:
    struct Slot {
        std::optional<SongFileRead> read;
        std::exception_ptr failure;
    };

    void ReadOnThread();
    void StartReaders(std::size_t count);
    Slot ReadFile(std::size_t index);

    FileSystem& m_fs;
    const std::unique_ptr<FolderForReads> m_folder;
    const std::vector<const std::string*>& m_names;

    // No lock: a reader takes up the next file by counting m_nextToRead up, waits
    // until it lies in the window after the one handed over last (m_nextToHand),
    // and marks its slot done; the caller waits for that mark.
    std::vector<Slot> m_slots;                             // file i in m_slots[i % kReadsAhead]
    std::unique_ptr<std::atomic<std::uint32_t>[]> m_done;  // per slot: 1 once read
    std::atomic<std::size_t> m_nextToRead{0};
    std::atomic<std::size_t> m_nextToHand{0};
    std::atomic<bool> m_stopping{false};
    std::size_t m_handed = 0;  // the caller's own count, when it reads itself
    std::vector<std::thread> m_readers;
};

}  // namespace tt
