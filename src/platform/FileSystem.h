#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/FileTime.h"

namespace tt {

// What a look-up of one path tells.
struct FileInfo {
    bool isDirectory = false;
    bool isRegular = false;         // a plain file (not a device, pipe, socket or folder)
    std::uint32_t permissions = 0;  // the mode's permission bits (rwx for all three)
    std::uint64_t size = 0;
    FileTime lastWriteTime;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t linkCount = 1;  // names (hard links) the file has
};

// A folder held for the many opens of one scan: each file is opened by its name in
// it, without its path being looked up anew from the root each time. Held for one
// scan only, so that a medium swapped since is looked up again.
class FolderForReads {
  public:
    virtual ~FolderForReads() = default;
    const std::string& path() const { return m_path; }
    // As FileSystem::OpenRead of the file's path; the error names that path.
    virtual FileHandle OpenRead(const std::string& name) = 0;

  protected:
    explicit FolderForReads(std::string path) : m_path(std::move(path)) {}
    // The path of the file `name` in the folder.
    std::string PathOf(const std::string& name) const;

  private:
    std::string m_path;
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

    // The path of the file `path` finally names when symbolic links are followed
    // (`path` itself when it is no link; a link that leads nowhere gives the path it
    // leads to). A look-up: never fails.
    virtual std::string FollowLinks(const std::string& path) = 0;

    // True when anything (file, folder, link) is at `path`.
    virtual bool Exists(const std::string& path) = 0;

    // True when this process may change what `path` holds (links followed): a
    // file's content, or a folder's names. Judged by the system's permission rules
    // (a read-only mount too), as opening it would be. A look-up: never fails.
    virtual bool MayWrite(const std::string& path) = 0;

    virtual FileHandle OpenRead(const std::string& path) = 0;
    virtual std::uint64_t Length(FileHandle& file) = 0;
    // What a look-up of the open file tells (one fstat; a "length" step). The
    // scan takes size, time and kind from here instead of looking the path up too.
    virtual FileInfo Info(FileHandle& file) = 0;
    // Reads until `size` bytes arrived or the file ends; returns the count read.
    virtual std::size_t Read(FileHandle& file, void* buffer, std::size_t size) = 0;
    // Advice, never an error: the next reads of `file` take only part of it, so the
    // system should read no more from the medium than they ask for (no read-ahead).
    // On a floppy or a network share, read-ahead would fetch the whole file.
    virtual void AdviseNoReadAhead(FileHandle& file) = 0;
    // True when OpenRead, Info, Length, Read, AdviseNoReadAhead and Stat may run on
    // several threads at once, so a scan may keep several reads in flight. A layer
    // that keeps state of its own without a lock says false (the default): the scan
    // then reads one file at a time, on the caller's thread.
    virtual bool TakesReadsFromSeveralThreads() const { return false; }
    // `folder` held for reads (may be called from the threads of a scan at once
    // where the layer takes that). By default each open goes through OpenRead with
    // the file's path, so a layer that wraps OpenRead sees every open.
    virtual std::unique_ptr<FolderForReads> HoldForReads(const std::string& folder);

    // Creates a new empty file beside `targetPath` under a fresh hidden temporary
    // name, which is stored in `tempPath`. The error names `targetPath`.
    virtual FileHandle CreateTemp(const std::string& targetPath, std::string& tempPath) = 0;
    // Opens the existing file at `path` for writing where it is, creating nothing:
    // for targets that cannot be replaced (a device, a pipe, a file in a folder
    // that may not be changed). A plain file is emptied; a device or pipe is not
    // affected by that. The error names `path`.
    virtual FileHandle OpenWriteInPlace(const std::string& path) = 0;
    // Sets the permission bits of an open file (a temporary file that is to replace
    // a file keeps the replaced file's bits).
    virtual void SetPermissions(FileHandle& file, std::uint32_t permissions) = 0;
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
