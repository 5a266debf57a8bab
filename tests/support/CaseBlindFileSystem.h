#pragma once

#include "platform/FileSystem.h"

namespace tt::test {

// The real file system seen as a FUSE driver for FAT shows it: names ignore ASCII
// letter case, and every spelling of a name has an inode number of its own. A move
// to another spelling of the same file changes the stored case; a move onto another
// file's name replaces that file, or fails without replace.
class CaseBlindFileSystem : public FileSystem {
  public:
    explicit CaseBlindFileSystem(FileSystem& inner = SystemFileSystem()) : m_inner(inner) {}

    // The stored spelling of `path`: the path itself when it exists, else the first
    // name in its folder equal to it ignoring case, else the path unchanged.
    std::string Resolve(const std::string& path);

    std::optional<std::vector<std::string>> ListNames(const std::string& folder) override {
        return m_inner.ListNames(folder);
    }
    std::optional<FileInfo> Stat(const std::string& path) override;
    bool Exists(const std::string& path) override { return m_inner.Exists(Resolve(path)); }
    FileHandle OpenRead(const std::string& path) override {
        return m_inner.OpenRead(Resolve(path));
    }
    std::uint64_t Length(FileHandle& file) override { return m_inner.Length(file); }
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        return m_inner.Read(file, buffer, size);
    }
    FileHandle CreateTemp(const std::string& targetPath, std::string& tempPath) override {
        return m_inner.CreateTemp(targetPath, tempPath);
    }
    void Write(FileHandle& file, const void* data, std::size_t size,
               const std::string& path) override {
        m_inner.Write(file, data, size, path);
    }
    void Sync(FileHandle& file) override { m_inner.Sync(file); }
    void Close(FileHandle& file) override { m_inner.Close(file); }
    void MoveNoReplace(const std::string& from, const std::string& to) override;
    void MoveReplace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override { m_inner.Remove(Resolve(path)); }

  private:
    FileSystem& m_inner;
};

}  // namespace tt::test
