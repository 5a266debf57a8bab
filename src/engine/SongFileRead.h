#pragma once

#include <exception>
#include <string>

#include "engine/SongFileEntry.h"
#include "platform/FileSystem.h"

namespace tt {

// What reading one song file of the folder gives: its entry as the list is to hold
// it, or that no file is there to list.
struct SongFileRead {
    SongFileEntry entry;  // path, fileName, newName, titleFound, size, lastWriteTime
    bool isFile = false;  // false: nothing, or a folder, at the path
    // An input/output error or exhausted memory met while reading the title, for the
    // thread that shows messages to report; the entry then has no title.
    std::exception_ptr readError;
};

// Reads the file `fileName` in `folder` (held by `fs`): its title (and from it the proposed new
// name: the title followed by the old name's last four characters) and the size and
// time the open file tells. A file that cannot be opened is listed without a title
// and without a message. Touches nothing but `fs`, so readers on several threads may
// call it at once where `fs` takes that.
SongFileRead ReadSongFile(FileSystem& fs, FolderForReads& folder, const std::string& fileName);

// Reads the file of `entry` again (after a move or copy) into it: newName,
// titleFound, size and time. False when no file is at its path now; it then has no
// title and keeps its size and time.
bool ReadSongFileInto(FileSystem& fs, SongFileEntry& entry, std::exception_ptr& readError);

// The text a window shows for a read error: the standard text of its cause naming
// `pathInText`, or the out-of-memory text.
std::string ReadErrorText(const std::exception_ptr& readError, const std::string& pathInText);

}  // namespace tt
