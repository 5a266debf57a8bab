#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/FileTime.h"

namespace tt {

// What a look-up of one path tells.
struct FileInfo {
    bool isDirectory = false;
    std::uint64_t size = 0;
    FileTime lastWriteTime;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// Every file step the program takes goes through this interface, so tests can wrap
// it and make any single step fail. Steps that fail throw FileError; the path in the
// error is the one the step names (opening, creating and writing name their file;
// length, reading, syncing, closing, renaming and removing name none).
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Names in `folder` (without "." and ".."), in byte order, so results never
    // depend on directory order. Empty optional when the folder cannot be read.
    virtual std::optional<std::vector<std::string>> ListNames(const std::string& folder) = 0;

    // Looks up `path`, following links. Empty optional when nothing is there.
    virtual std::optional<FileInfo> Stat(const std::string& path) = 0;

    // True when anything (file, folder, link) is at `path`.
    virtual bool Exists(const std::string& path) = 0;

    virtual FileHandle OpenRead(const std::string& path) = 0;
    virtual std::uint64_t Length(FileHandle& file) = 0;
    // Reads until `size` bytes arrived or the file ends; returns the count read.
    virtual std::size_t Read(FileHandle& file, void* buffer, std::size_t size) = 0;

    // Creates a new empty file beside `targetPath` under a fresh hidden temporary
    // name, which is stored in `tempPath`. The error names `targetPath`.
    virtual FileHandle CreateTemp(const std::string& targetPath, std::string& tempPath) = 0;
    // Writes all bytes; a short write is "disk full". The error names `path`.
    virtual void Write(FileHandle& file, const void* data, std::size_t size,
                       const std::string& path) = 0;
    // Flushes the file's content to the medium.
    virtual void Sync(FileHandle& file) = 0;
    virtual void Close(FileHandle& file) = 0;

    // Moves `from` to `to`; fails when anything exists at `to`.
    virtual void MoveNoReplace(const std::string& from, const std::string& to) = 0;
    // Moves `from` to `to` in one step, replacing what is at `to`.
    virtual void MoveReplace(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// The real file system of this machine.
FileSystem& SystemFileSystem();

// A new name holding a control byte, or "." or "..", is not a valid file name.
bool IsValidFileName(const std::string& name);

}  // namespace tt
