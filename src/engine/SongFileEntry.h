#pragma once

#include <cstdint>
#include <string>

#include "platform/FileTime.h"

namespace tt {

// One song file of the listed folder, as the scan found it.
struct SongFileEntry {
    std::string path;      // folder, separator and file name
    std::string fileName;  // the old name, as the directory gave it
    std::string newName;   // proposed name; empty when titleFound is 0
    std::uint8_t titleFound = 0;
    std::uint32_t size = 0;  // low 32 bits of the size at scan time
    FileTime lastWriteTime;  // last-write time at scan time
};

// Placeholder shown and exported for an entry without a usable title.
inline constexpr const char* kNoTitleFound = "<no title found>";

// The new-name text shown for an entry: its new name, or the placeholder.
inline const std::string& NewNameText(const SongFileEntry& entry) {
    static const std::string placeholder(kNoTitleFound);
    return entry.titleFound ? entry.newName : placeholder;
}

}  // namespace tt
