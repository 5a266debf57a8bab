#include "title/ReadSongTitle.h"

#include <memory>
#include <new>

#include "platform/FileError.h"
#include "title/TitleCleaning.h"

namespace tt {

namespace {

constexpr std::size_t kPatternNameOffset = 7;
constexpr std::size_t kTrackLengthOffset = 18;
constexpr std::size_t kFirstEventOffset = 22;
constexpr std::size_t kMetaCaptureLimit = 32;

bool StartsWith(const unsigned char* data, std::size_t size, std::size_t offset,
                const char (&tag)[5]) {
    if (offset + 4 > size)
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (data[offset + i] != static_cast<unsigned char>(tag[i]))
            return false;
    return true;
}

// Copies bytes from `offset` until `limit` bytes, a zero byte or the end of data.
std::string_view CapturedText(const unsigned char* data, std::size_t size, std::size_t offset,
                              std::size_t limit) {
    std::size_t length = 0;
    while (length < limit && offset + length < size && data[offset + length] != 0)
        ++length;
    return {reinterpret_cast<const char*>(data) + offset, length};
}

bool PatternTitle(const unsigned char* data, std::size_t size, std::string& title) {
    if (!StartsWith(data, size, 0, "KPAT") || size <= 4)
        return false;
    const std::size_t width = data[4] == 0 ? 8 : 10;
    if (kPatternNameOffset > size)
        return false;
    title = CleanTitle(CapturedText(data, size, kPatternNameOffset, width));
    return true;
}

// The first track's events, walked one by one. Track name, text and marker each
// keep their first non-empty cleaned text. The walk never reads at or past the end
// of the data: an event that needs such a byte ends it uncaptured.
class TrackWalk {
  public:
    TrackWalk(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Title(std::string& title) {
        const std::uint64_t length = std::uint64_t{m_data[kTrackLengthOffset]} << 24 |
                                     std::uint64_t{m_data[kTrackLengthOffset + 1]} << 16 |
                                     std::uint64_t{m_data[kTrackLengthOffset + 2]} << 8 |
                                     std::uint64_t{m_data[kTrackLengthOffset + 3]};
        m_end = kFirstEventOffset + length;
        m_pos = kFirstEventOffset;
        while (m_pos < m_end) {
            SkipChannelEvents();
            if (m_pos >= m_end || !Step())
                break;
        }
        for (const std::string* slot : {&m_trackName, &m_text, &m_marker}) {
            if (!slot->empty()) {
                title = *slot;
                return true;
            }
        }
        return false;
    }

  private:
    bool Has(std::uint64_t pos) const { return pos < m_size; }

    // Steps over channel messages as Step does, as long as every byte looked at lies
    // before both the track's end and the data's end, so no bound needs a check of
    // its own. Notes make up most of a track; anything else is left to Step.
    void SkipChannelEvents() {
        const std::uint64_t limit = m_end < m_size ? m_end : m_size;
        std::uint64_t pos = m_pos;
        unsigned runningStatus = m_runningStatus;
        while (pos + 3 < limit) {
            // Delta time of one or two bytes (a longer one goes to Step). Taken
            // without a branch on its length, which varies from event to event.
            const unsigned twoBytes = m_data[pos] >> 7;
            if ((twoBytes & (m_data[pos + 1] >> 7)) != 0)
                break;
            const std::uint64_t at = pos + 1 + twoBytes;
            const unsigned char status = m_data[at];
            if ((status >= 0x80 && status <= 0xBF) || (status >= 0xE0 && status <= 0xEF)) {
                runningStatus = status >> 4;
                pos = at + 3;
            } else if (status >= 0xC0 && status <= 0xDF) {
                runningStatus = status >> 4;
                pos = at + 2;
            } else if (status < 0x80 && runningStatus != 0) {
                pos = at + ((runningStatus == 0xC || runningStatus == 0xD) ? 1 : 2);
            } else {
                break;
            }
        }
        m_pos = pos;
        m_runningStatus = runningStatus;
    }

    // One event; false when the walk stops.
    bool Step() {
        // Delta time: bytes with the top bit set, then one without.
        while (m_pos < m_end) {
            if (!Has(m_pos))
                return false;
            if ((m_data[m_pos++] & 0x80) == 0)
                break;
        }
        if (!Has(m_pos))
            return false;
        const unsigned char status = m_data[m_pos];
        if ((status >= 0x80 && status <= 0xBF) || (status >= 0xE0 && status <= 0xEF)) {
            m_runningStatus = status >> 4;
            m_pos += 3;
        } else if (status >= 0xC0 && status <= 0xDF) {
            m_runningStatus = status >> 4;
            m_pos += 2;
        } else if (status < 0x80) {
            if (m_runningStatus == 0)
                return false;
            m_pos += (m_runningStatus == 0xC || m_runningStatus == 0xD) ? 1 : 2;
        } else if (status == 0xF0 || status == 0xF7) {
            if (!Has(m_pos + 1))
                return false;
            m_pos += 2 + m_data[m_pos + 1];
        } else if (status == 0xFF) {
            if (!Has(m_pos + 2))
                return false;
            const unsigned char type = m_data[m_pos + 1];
            const unsigned char length = m_data[m_pos + 2];
            if (type == 0x01 || type == 0x03 || type == 0x06) {
                const std::size_t want = length < kMetaCaptureLimit ? length : kMetaCaptureLimit;
                const std::size_t start = static_cast<std::size_t>(m_pos) + 3;
                const std::string_view text = CapturedText(m_data, m_size, start, want);
                // Cut short by the end of the data rather than by a zero byte.
                if (text.size() < want && !Has(start + text.size()))
                    return false;
                if (Capture(type, text))
                    return false;
            }
            m_pos += 3 + length;
        } else {
            return false;
        }
        return true;
    }

    // Fills the slot of `type` if still empty; true when the title is settled: a
    // track name wins over everything later events could fill.
    bool Capture(unsigned char type, std::string_view raw) {
        std::string& slot = type == 0x03 ? m_trackName : type == 0x01 ? m_text : m_marker;
        if (slot.empty())
            slot = CleanTitle(raw);
        return !m_trackName.empty();
    }

    const unsigned char* m_data;
    std::size_t m_size;
    std::uint64_t m_pos = 0;
    std::uint64_t m_end = 0;
    unsigned m_runningStatus = 0;
    std::string m_trackName;
    std::string m_text;
    std::string m_marker;
};

bool MidiTitle(const unsigned char* data, std::size_t size, std::string& title) {
    if (size < kFirstEventOffset || !StartsWith(data, size, 0, "MThd") ||
        !StartsWith(data, size, 14, "MTrk"))
        return false;
    return TrackWalk(data, size).Title(title);
}

bool IsPatternPath(const std::string& path) {
    if (path.size() < 4)
        return false;
    const char* tail = path.c_str() + path.size() - 4;
    return tail[0] == '.' && (tail[1] | 0x20) == 'p' && (tail[2] | 0x20) == 'a' &&
           (tail[3] | 0x20) == 't';
}

// A buffer of at least `size` bytes, kept for the thread's later reads: a scan reads
// thousands of files in a row, and a fresh buffer for each would have its pages
// faulted in (and the heap grown and shrunk) every time. Not zero-filled: every
// byte used is read from the file. At most kMaxSongFileLength bytes stay held.
unsigned char* ReadBuffer(std::size_t size) {
    thread_local std::unique_ptr<unsigned char[]> buffer;
    thread_local std::size_t capacity = 0;
    if (size > capacity) {
        buffer.reset();
        capacity = 0;
        buffer = std::make_unique_for_overwrite<unsigned char[]>(size);
        capacity = size;
    }
    return buffer.get();
}

}  // namespace

bool ExtractSongTitle(const unsigned char* data, std::size_t size, bool isPattern,
                      std::string& title) {
    title.clear();
    const bool found = isPattern ? PatternTitle(data, size, title) : MidiTitle(data, size, title);
    if (!found)
        title.clear();
    return found;
}

bool ReadSongTitle(FileSystem& fs, const std::string& path, std::string& title,
                   TitleErrorReporter& reporter) {
    title.clear();
    FileHandle file;
    try {
        file = fs.OpenRead(path);
    } catch (const FileError&) {
        return false;  // cannot be opened: simply not found
    }
    std::uint64_t length = 0;
    try {
        length = fs.Length(file);
    } catch (const FileError& error) {
        reporter.ReportReadError(StandardFileErrorText(error.cause(), "an unnamed file"));
        return false;
    }
    return ReadOpenSongTitle(fs, file, length, path, title, reporter);
}

bool ReadOpenSongTitle(FileSystem& fs, FileHandle& file, std::uint64_t length,
                       const std::string& path, std::string& title, TitleErrorReporter& reporter) {
    title.clear();
    if (length < kMinSongFileLength || length > kMaxSongFileLength)
        return false;
    try {
        const auto size = static_cast<std::size_t>(length);
        unsigned char* buffer = ReadBuffer(size);
        if (fs.Read(file, buffer, size) != size)
            return false;
        return ExtractSongTitle(buffer, size, IsPatternPath(path), title);
    } catch (const FileError& error) {
        reporter.ReportReadError(StandardFileErrorText(error.cause(), "an unnamed file"));
    } catch (const std::bad_alloc&) {
        reporter.ReportReadError(kOutOfMemoryText);
    }
    title.clear();
    return false;
}

}  // namespace tt
