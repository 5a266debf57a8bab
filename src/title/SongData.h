#pragma once

#include <cstddef>
#include <cstdint>

namespace tt {

// Hands out the bytes of one song file in order, from its start.
class SongByteSource {
  public:
    virtual ~SongByteSource() = default;
    // Reads up to `size` further bytes into `buffer` and returns how many arrived:
    // fewer only where the file ends. Errors are thrown.
    virtual std::size_t ReadNext(unsigned char* buffer, std::size_t size) = 0;
};

inline constexpr std::size_t kLargestSongBlock = 64 * 1024;

// The bytes of one song file of known length, as far as the title walk has needed
// them. A byte not yet present is read together with the block it falls in: the
// first block is `firstBlock` bytes long, every later one twice the one before (up
// to kLargestSongBlock), so a title near the start costs one small read and a walk
// through a long track a few larger ones. Nothing at or past the length is read.
class SongData {
  public:
    // All `size` bytes at `data`, present already.
    SongData(const unsigned char* data, std::size_t size)
        : m_data(data), m_size(size), m_present(size) {}
    // `size` bytes from `source`, read into `buffer` (room for `size` bytes) as needed.
    SongData(SongByteSource& source, unsigned char* buffer, std::size_t size,
             std::size_t firstBlock)
        : m_data(buffer),
          m_size(size),
          m_source(&source),
          m_buffer(buffer),
          m_block(firstBlock > 0 ? firstBlock : 1) {}

    const unsigned char* bytes() const { return m_data; }
    std::size_t size() const { return m_size; }
    // The bytes present, counted from the start.
    std::size_t present() const { return m_present; }
    // True when the file holds byte `pos`; it and every byte before it are then present.
    bool Has(std::uint64_t pos) {
        return pos < m_present || (pos < m_size && ReadUpTo(pos, false));
    }
    // As Has, but the bytes up to `pos` that are not present yet arrive in one read
    // instead of block by block: for a search that goes on to `pos` unless it finds
    // what it looks for first, and mostly finds nothing.
    bool HasAllUpTo(std::uint64_t pos) {
        return pos < m_present || (pos < m_size && ReadUpTo(pos, true));
    }
    // True when a read ended before the length promised: the file shrank meanwhile.
    bool cutShort() const { return m_cutShort; }

  private:
    bool ReadUpTo(std::uint64_t pos, bool atOnce);

    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_present = 0;
    SongByteSource* m_source = nullptr;
    unsigned char* m_buffer = nullptr;
    std::size_t m_block = 1;
    bool m_cutShort = false;
};

}  // namespace tt
