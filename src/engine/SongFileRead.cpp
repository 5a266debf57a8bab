#include "engine/SongFileRead.h"

#include <new>
#include <optional>

#include "platform/FileError.h"
#include "text/NameText.h"
#include "title/ReadSongTitle.h"

namespace tt {

namespace {

// Turns the title read into newName (found or not) into the proposal.
void ProposeName(SongFileEntry& entry, bool found) {
    entry.titleFound = found ? 1 : 0;
    // A title cleaned down to nothing (a pattern name of blanks) would leave only
    // the extension, a hidden name such as ".pat": it counts as no title.
    if (!found || entry.newName.empty() || EqualsNoCase(entry.newName, "untitled") ||
        EqualsNoCase(entry.newName, "empty")) {
        entry.newName.clear();
        entry.titleFound = 0;
        return;
    }
    entry.newName.append(entry.fileName, OffsetOfLastChars(entry.fileName, 4));
}

void TakeInfo(SongFileEntry& entry, const FileInfo& info) {
    entry.size = static_cast<std::uint32_t>(info.size);
    entry.lastWriteTime = info.lastWriteTime;
}

// Reads what the entry's path holds; the entry keeps size and time where no file is.
// `open` opens the entry's file.
template <typename Open>
bool ReadInto(FileSystem& fs, SongFileEntry& entry, std::exception_ptr& readError, Open open) {
    // One look-up per file: the open file tells its kind, size and time. A file
    // that cannot be opened is still listed (without a title), so only then is
    // its path looked up.
    const auto listWithoutTitle = [&] {
        ProposeName(entry, false);
        const auto info = fs.Stat(entry.path);
        if (!info || info->isDirectory)
            return false;
        TakeInfo(entry, *info);
        return true;
    };
    FileHandle file;
    try {
        file = open();
    } catch (const FileError&) {
        return listWithoutTitle();
    }
    std::optional<FileInfo> info;
    try {
        info = fs.Info(file);
    } catch (const FileError&) {
        readError = std::current_exception();
        return listWithoutTitle();
    }
    if (info->isDirectory) {
        ProposeName(entry, false);
        return false;
    }
    bool found = false;
    try {
        found = ReadOpenSongTitle(fs, file, info->size, entry.path, entry.newName);
    } catch (const FileError&) {
        readError = std::current_exception();
    } catch (const std::bad_alloc&) {
        readError = std::current_exception();
    }
    ProposeName(entry, found);
    TakeInfo(entry, *info);
    return true;
}

}  // namespace

SongFileRead ReadSongFile(FileSystem& fs, FolderForReads& folder, const std::string& fileName) {
    SongFileRead read;
    read.entry.path = JoinPath(folder.path(), fileName);
    read.entry.fileName = fileName;
    read.isFile =
        ReadInto(fs, read.entry, read.readError, [&] { return folder.OpenRead(fileName); });
    return read;
}

bool ReadSongFileInto(FileSystem& fs, SongFileEntry& entry, std::exception_ptr& readError) {
    return ReadInto(fs, entry, readError, [&] { return fs.OpenRead(entry.path); });
}

std::string ReadErrorText(const std::exception_ptr& readError, const std::string& pathInText) {
    try {
        std::rethrow_exception(readError);
    } catch (const FileError& error) {
        return StandardFileErrorText(error.cause(), pathInText);
    } catch (const std::bad_alloc&) {
    }
    return kOutOfMemoryText;
}

}  // namespace tt
