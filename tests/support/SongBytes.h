#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Builders that spell out song files byte by byte, for tests, benchmarks and the
// demo songs. Each builder returns the bytes of one part (header, track, event).
namespace tt::songbytes {

using Bytes = std::vector<unsigned char>;

Bytes Cat(std::initializer_list<Bytes> parts);
Bytes Text(std::string_view text);

// Delta time as a variable-length quantity.
Bytes Delta(std::uint32_t ticks);
// Delta 0, then FF type length data (length is one byte, as the reader takes it).
Bytes Meta(std::uint8_t type, std::string_view data);
inline Bytes TextEvent(std::string_view text) {
    return Meta(0x01, text);
}
inline Bytes TrackName(std::string_view text) {
    return Meta(0x03, text);
}
inline Bytes Marker(std::string_view text) {
    return Meta(0x06, text);
}
Bytes EndOfTrack();
// Delta 0, then a note-on with status 0x90 on channel 0.
Bytes NoteOn(std::uint8_t key, std::uint8_t velocity);

// "MThd", length 6, format 0, one track, division 96.
Bytes MidiHeader();
// "MTrk", the big-endian length of `events`, then the events.
Bytes Track(const Bytes& events);
// "MTrk" with a stated length that need not match the events.
Bytes TrackWithLength(std::uint32_t length, const Bytes& events);
// A whole MIDI file: header and one track of `events`, zero-padded to at least
// `minSize` bytes after the track.
Bytes MidiFile(const Bytes& events, std::size_t minSize = 48);

// A pattern file: "KPAT", the width selector, two bytes, the name field, padded
// with zeros to at least `minSize` bytes.
Bytes PatternFile(std::string_view name, std::uint8_t widthSelector, std::size_t minSize = 48);

// Writes `bytes` to `path`, replacing what is there; throws on failure.
void WriteBytes(const std::string& path, const Bytes& bytes);

}  // namespace tt::songbytes
