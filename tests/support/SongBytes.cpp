#include "SongBytes.h"

#include <fstream>
#include <stdexcept>

namespace tt::songbytes {

namespace {

// Appends byte by byte (a range insert into a freshly listed vector trips a false
// bounds warning of g++ 12 in optimised builds).
template <typename Range>
void Append(Bytes& out, const Range& range) {
    for (const auto byte : range) out.push_back(static_cast<unsigned char>(byte));
}

}  // namespace

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes Delta(std::uint32_t ticks) {
    Bytes out{static_cast<unsigned char>(ticks & 0x7F)};
    while ((ticks >>= 7) != 0)
        out.insert(out.begin(), static_cast<unsigned char>(0x80 | (ticks & 0x7F)));
    return out;
}

Bytes Meta(std::uint8_t type, std::string_view data) {
    Bytes out{0x00, 0xFF, type, static_cast<unsigned char>(data.size() & 0xFF)};
    Append(out, data);
    return out;
}

Bytes EndOfTrack() {
    return {0x00, 0xFF, 0x2F, 0x00};
}

Bytes NoteOn(std::uint8_t key, std::uint8_t velocity) {
    return {0x00, 0x90, key, velocity};
}

Bytes MidiHeader() {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
}

Bytes TrackWithLength(std::uint32_t length, const Bytes& events) {
    Bytes out{'M',
              'T',
              'r',
              'k',
              static_cast<unsigned char>(length >> 24),
              static_cast<unsigned char>(length >> 16),
              static_cast<unsigned char>(length >> 8),
              static_cast<unsigned char>(length)};
    Append(out, events);
    return out;
}

Bytes Track(const Bytes& events) {
    return TrackWithLength(static_cast<std::uint32_t>(events.size()), events);
}

Bytes MidiFile(const Bytes& events, std::size_t minSize) {
    Bytes out = Cat({MidiHeader(), Track(events)});
    if (out.size() < minSize)
        out.resize(minSize, 0);
    return out;
}

Bytes PatternFile(std::string_view name, std::uint8_t widthSelector, std::size_t minSize) {
    Bytes out{'K', 'P', 'A', 'T', widthSelector, 0, 0};
    Append(out, name);
    if (out.size() < minSize)
        out.resize(minSize, 0);
    return out;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace tt::songbytes
