#include "title/ReadSongTitle.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/FileError.h"
#include "text/NameText.h"
#include "title/SongData.h"
#include "title/TitleCleaning.h"

namespace tt {

namespace {

constexpr std::size_t kPatternNameOffset = 7;
constexpr std::size_t kTrackLengthOffset = 18;
constexpr std::size_t kFirstEventOffset = 22;
constexpr std::size_t kMetaCaptureLimit = 32;
// The first read: the header and, in most files, the events up to the title. One
// page, which is also what the system reads from the medium at the least.
constexpr std::size_t kFirstSongBlock = 4096;

// The meta events whose text can become the title.
enum MetaType : unsigned char {
    kMetaText = 0x01,
    kMetaTrackName = 0x03,
    kMetaMarker = 0x06,
};

// The length of the channel message that starts with `status`: a status byte
// 0x80-0xEF takes 3 bytes with its data (2 for program change 0xC_ and channel
// pressure 0xD_) and becomes the running status (its high half); a data byte under a
// running status starts a message one byte shorter. 0 when `status` starts no channel
// message (a system or meta event, or a data byte without a running status), which
// leaves the running status as it is.
inline unsigned ChannelMessageLength(unsigned char status, unsigned& runningStatus) {
    if (status >= 0x80 && status <= 0xEF) {
        runningStatus = status >> 4u;
        return runningStatus == 0xC || runningStatus == 0xD ? 2 : 3;
    }
    if (status < 0x80 && runningStatus != 0)
        return runningStatus == 0xC || runningStatus == 0xD ? 1 : 2;
    return 0;
}

bool StartsWith(SongData& data, std::size_t offset, const char (&tag)[5]) {
    if (!data.Has(offset + 3))
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (data.bytes()[offset + i] != static_cast<unsigned char>(tag[i]))
            return false;
    return true;
}

// Copies bytes from `offset` until `limit` bytes, a zero byte or the end of data.
std::string_view CapturedText(SongData& data, std::size_t offset, std::size_t limit) {
    std::size_t length = 0;
    while (length < limit && data.Has(offset + length) && data.bytes()[offset + length] != 0)
        ++length;
    return {reinterpret_cast<const char*>(data.bytes()) + offset, length};
}

// `text`, captured from `offset` up to `limit` bytes, without a UTF-8 character
// that the limit cut: when the text fills the limit and ends in the first bytes of
// a sequence that the next bytes of the data (at most `beyond` of them) complete,
// those first bytes go. Taken as Windows-1252 they would read as other letters
// (a euro sign cut after two of its three bytes as "Ã¢â").
std::string_view WithoutCutCharacter(SongData& data, std::size_t offset, std::string_view text,
                                     std::size_t limit, std::size_t beyond) {
    if (text.size() < limit)
        return text;
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 3 &&
           (static_cast<unsigned char>(text[lead - 1]) & 0xC0u) == 0x80u)
        --lead;
    if (lead == 0)
        return text;
    --lead;
    const auto first = static_cast<unsigned char>(text[lead]);
    const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    const std::size_t have = text.size() - lead;
    if (have >= length || length - have > beyond)
        return text;
    std::string sequence(text.substr(lead));
    for (std::size_t pos = offset + text.size(); sequence.size() < length; ++pos) {
        if (!data.Has(pos))
            return text;
        sequence += static_cast<char>(data.bytes()[pos]);
    }
    return Utf8SequenceLength(sequence, 0) == length ? text.substr(0, lead) : text;
}

bool PatternTitle(SongData& data, std::string& title) {
    if (!StartsWith(data, 0, "KPAT") || !data.Has(4))
        return false;
    const std::size_t width = data.bytes()[4] == 0 ? 8 : 10;
    if (kPatternNameOffset > data.size())
        return false;
    // A character the field's width cuts may go on in the bytes after it.
    const std::string_view name = CapturedText(data, kPatternNameOffset, width);
    CleanTitle(WithoutCutCharacter(data, kPatternNameOffset, name, width, 3), title);
    return true;
}

// The first track's events, walked one by one. Track name, text and marker each
// keep their first text that is not empty once cleaned; a slot holds that text
// trimmed, where it lies in the data, and only the one chosen is cleaned. The walk
// never reads at or past the end of the data: an event that needs such a byte ends
// it uncaptured.
class TrackWalk {
  public:
    explicit TrackWalk(SongData& data) : m_data(data), m_bytes(data.bytes()) {}

    bool Title(std::string& title) {
        const std::uint64_t length = std::uint64_t{m_bytes[kTrackLengthOffset]} << 24 |
                                     std::uint64_t{m_bytes[kTrackLengthOffset + 1]} << 16 |
                                     std::uint64_t{m_bytes[kTrackLengthOffset + 2]} << 8 |
                                     std::uint64_t{m_bytes[kTrackLengthOffset + 3]};
        m_end = kFirstEventOffset + length;
        m_pos = kFirstEventOffset;
        // Nothing ahead may matter from the start on: a track that holds no track
        // name, text or marker at all gives no title, and one search tells so
        // without a walk through its events.
        if (NothingAheadMatters())
            m_pos = m_end;
        while (m_pos < m_end) {
            SkipChannelEvents();
            if (m_pos >= m_end)
                break;
            // Where a slot was just filled, or before reading on past the bytes
            // read so far: the walk ends when nothing ahead could change the title.
            const bool atEdge = m_pos + 3 >= m_data.present() && m_data.present() < m_data.size();
            if ((m_slotFilled || atEdge) && NothingAheadMatters())
                break;
            m_slotFilled = false;
            if (!Step())
                break;
        }
        for (const std::string_view slot : {m_trackName, m_text, m_marker}) {
            if (!slot.empty()) {
                CleanTitle(slot, title);
                return true;
            }
        }
        return false;
    }

  private:
    bool Has(std::uint64_t pos) { return m_data.Has(pos); }

    // Steps over channel messages as Step does (by ChannelMessageLength), as long as every byte
    // looked at lies before both the track's end and the bytes present, so no bound needs a check
    // of its own. Notes make up most of a track; anything else, and an event that
    // reaches past the bytes present, is left to Step.
    void SkipChannelEvents() {
        const std::uint64_t limit = m_end < m_data.present() ? m_end : m_data.present();
        std::uint64_t pos = m_pos;
        unsigned runningStatus = m_runningStatus;
        while (pos + 3 < limit) {
            // Delta time of one or two bytes (a longer one goes to Step). Taken
            // without a branch on its length, which varies from event to event.
            const unsigned twoBytes = m_bytes[pos] >> 7;
            if ((twoBytes & (m_bytes[pos + 1] >> 7)) != 0)
                break;
            const std::uint64_t at = pos + 1 + twoBytes;
            const unsigned length = ChannelMessageLength(m_bytes[at], runningStatus);
            if (length == 0)
                break;
            pos = at + length;
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
            if ((m_bytes[m_pos++] & 0x80) == 0)
                break;
        }
        if (!Has(m_pos))
            return false;
        const unsigned char status = m_bytes[m_pos];
        if (const unsigned length = ChannelMessageLength(status, m_runningStatus)) {
            m_pos += length;
        } else if (status == 0xF0 || status == 0xF7) {
            if (!Has(m_pos + 1))
                return false;
            m_pos += 2 + m_bytes[m_pos + 1];
        } else if (status == 0xFF) {
            if (!Has(m_pos + 2))
                return false;
            const unsigned char type = m_bytes[m_pos + 1];
            const unsigned char length = m_bytes[m_pos + 2];
            if (type == kMetaText || type == kMetaTrackName || type == kMetaMarker) {
                const std::size_t want = length < kMetaCaptureLimit ? length : kMetaCaptureLimit;
                const std::size_t start = static_cast<std::size_t>(m_pos) + 3;
                const std::string_view text = CapturedText(m_data, start, want);
                // Cut short by the end of the data rather than by a zero byte.
                if (text.size() < want && !Has(start + text.size()))
                    return false;
                if (Capture(type, WithoutCutCharacter(m_data, start, text, kMetaCaptureLimit,
                                                      length - want)))
                    return false;
            }
            m_pos += 3 + length;
        } else {
            return false;  // a data byte without a running status, or a system event
        }
        return true;
    }

    // Fills the slot of `type` if still empty; true when the title is settled: a
    // track name wins over everything later events could fill.
    bool Capture(unsigned char type, std::string_view raw) {
        std::string_view& slot = type == kMetaTrackName ? m_trackName
                                 : type == kMetaText    ? m_text
                                                        : m_marker;
        if (slot.empty()) {
            slot = TrimTitle(raw);
            m_slotFilled = !slot.empty();
        }
        return !m_trackName.empty();
    }

    // True when a meta event of `type` could still change the title: a track name
    // always (the walk ends once it has one), a text while it has none, a marker
    // while it has neither text nor marker.
    bool Matters(unsigned char type) const {
        return type == kMetaTrackName || (type == kMetaText && m_text.empty()) ||
               (type == kMetaMarker && m_text.empty() && m_marker.empty());
    }

    // True when no event the walk could still meet would change the title: every
    // event it captures has its 0xFF at or before the track's end, followed by its
    // type, and no 0xFF there is followed by a type that matters. Searching for
    // those two bytes is far quicker than walking a long track event by event.
    // Once the bytes read so far hold no such pair, it reads the rest of the track
    // in one go: a pair that matters seldom follows, and a long track would
    // otherwise take several reads.
    bool NothingAheadMatters() {
        const std::uint64_t limit = m_end < m_data.size() ? m_end + 1 : m_data.size();
        std::uint64_t pos = m_pos;
        while (pos < limit) {
            if (pos >= m_data.present() && !m_data.HasAllUpTo(limit - 1))
                return false;  // the file ended early: the walk meets that too
            const std::uint64_t present = m_data.present() < limit ? m_data.present() : limit;
            const void* found = std::memchr(m_bytes + pos, 0xFF, present - pos);
            if (found == nullptr) {
                pos = present;
                continue;
            }
            pos = static_cast<std::uint64_t>(static_cast<const unsigned char*>(found) - m_bytes);
            if (Has(pos + 1) && Matters(m_bytes[pos + 1]))
                return false;
            ++pos;
        }
        return true;
    }

    SongData& m_data;
    const unsigned char* m_bytes;
    std::uint64_t m_pos = 0;
    std::uint64_t m_end = 0;
    unsigned m_runningStatus = 0;
    bool m_slotFilled = false;  // by the event just stepped over
    std::string_view m_trackName;
    std::string_view m_text;
    std::string_view m_marker;
};

bool MidiTitle(SongData& data, std::string& title) {
    if (!data.Has(kFirstEventOffset - 1) || !StartsWith(data, 0, "MThd") ||
        !StartsWith(data, 14, "MTrk"))
        return false;
    return TrackWalk(data).Title(title);
}

// The file's bytes through the file layer.
class FileBytes final : public SongByteSource {
  public:
    FileBytes(FileSystem& fs, FileHandle& file) : m_fs(fs), m_file(file) {}
    std::size_t ReadNext(unsigned char* buffer, std::size_t size) override {
        return m_fs.Read(m_file, buffer, size);
    }

  private:
    FileSystem& m_fs;
    FileHandle& m_file;
};

}  // namespace

bool ExtractSongTitle(SongData& data, bool isPattern, std::string& title) {
    title.clear();
    const bool found = isPattern ? PatternTitle(data, title) : MidiTitle(data, title);
    // A file found shorter than its length gives none, as a short read of the whole
    // file would.
    if (found && !data.cutShort())
        return true;
    title.clear();
    return false;
}

bool IsPatternPath(const std::string& path) {
    if (path.size() < 4)
        return false;
    const char* tail = path.c_str() + path.size() - 4;
    return tail[0] == '.' && (tail[1] | 0x20) == 'p' && (tail[2] | 0x20) == 'a' &&
           (tail[3] | 0x20) == 't';
}

namespace {

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

// Reads the title of an open file of `length` bytes in blocks as the walk needs them.
// Errors are thrown.
bool ReadTitleOfFile(FileSystem& fs, FileHandle& file, std::uint64_t length,
                     const std::string& path, std::string& title) {
    title.clear();
    if (length < kMinSongFileLength || length > kMaxSongFileLength)
        return false;
    const auto size = static_cast<std::size_t>(length);
    unsigned char* buffer = ReadBuffer(size);
    // A file that one block takes whole gains nothing from the advice.
    if (size > kFirstSongBlock)
        fs.AdviseNoReadAhead(file);
    FileBytes source(fs, file);
    SongData bytes(source, buffer, size, kFirstSongBlock);
    return ExtractSongTitle(bytes, IsPatternPath(path), title);
}

}  // namespace

bool ExtractSongTitle(const unsigned char* data, std::size_t size, bool isPattern,
                      std::string& title) {
    SongData bytes(data, size);
    return ExtractSongTitle(bytes, isPattern, title);
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
        reporter.ReportReadError(StandardFileErrorText(error.cause(), reporter.PathInText(path)));
        return false;
    }
    try {
        return ReadTitleOfFile(fs, file, length, path, title);
    } catch (const FileError& error) {
        reporter.ReportReadError(StandardFileErrorText(error.cause(), reporter.PathInText(path)));
    } catch (const std::bad_alloc&) {
        reporter.ReportReadError(kOutOfMemoryText);
    }
    title.clear();
    return false;
}

bool ReadOpenSongTitle(FileSystem& fs, FileHandle& file, std::uint64_t length,
                       const std::string& path, std::string& title) {
    try {
        return ReadTitleOfFile(fs, file, length, path, title);
    } catch (...) {
        title.clear();
        throw;
    }
}

}  // namespace tt
