#pragma once

#include <cstddef>
#include <string>

#include "platform/FileSystem.h"
#include "title/SongData.h"
#include "title/TitleErrorReporter.h"

namespace tt {

// Files outside these lengths (inclusive bounds) are never read.
inline constexpr std::uint64_t kMinSongFileLength = 48;
inline constexpr std::uint64_t kMaxSongFileLength = 1000000;

// Reads the song title stored in the file at `path`: the pattern name of a ".pat"
// file (any case), else the first usable track name, text or marker of a MIDI
// file's first track. The title is cleaned for use as a file name and is valid
// UTF-8. Returns whether a title was found; `title` is empty when not.
// Input/output errors while measuring or reading go to `reporter`, naming the file.
// Reads only what the title needs, in blocks as the walk through the first track
// reaches them (without read-ahead), never past the file's length. The title is
// the one the whole file gives; a read error in a part the title does not need is
// not met.
bool ReadSongTitle(FileSystem& fs, const std::string& path, std::string& title,
                   TitleErrorReporter& reporter);

// As ReadSongTitle, for a file the caller has opened and measured (`length` bytes),
// but an input/output error (FileError) or exhausted memory (std::bad_alloc) is
// thrown, not reported: a reader on another thread hands it to the thread that
// shows it. Reads from the file's start; the caller keeps and closes the handle.
bool ReadOpenSongTitle(FileSystem& fs, FileHandle& file, std::uint64_t length,
                       const std::string& path, std::string& title);

// The title inside the bytes of a whole file (no size bounds applied); `isPattern`
// selects the pattern layout.
bool ExtractSongTitle(const unsigned char* data, std::size_t size, bool isPattern,
                      std::string& title);

// The title inside `data`, whole or handed over in blocks as the walk reaches them;
// none when the data prove shorter than their size.
bool ExtractSongTitle(SongData& data, bool isPattern, std::string& title);

// True when `path` ends in ".pat" in any letter case: a pattern file.
bool IsPatternPath(const std::string& path);

}  // namespace tt
