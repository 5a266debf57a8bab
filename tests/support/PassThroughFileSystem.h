#pragma once

#include "platform/FileSystem.h"

namespace tt::test {

// A file system that hands every step to another one (the real one by default).
// Tests derive from it and override the few steps they want to watch or fail.
class PassThroughFileSystem : public FileSystem {
  public:
    explicit PassThroughFileSystem(FileSystem& inner = SystemFileSystem()) : m_inner(inner) {}

    std::optional<std::vector<std::string>> ListNames(const std::string& folder) override {
        return m_inner.ListNames(folder);
    }
    std::optional<FileInfo> Stat(const std::string& path) override { return m_inner.Stat(path); }
    std::string FollowLinks(const std::string& path) override { return m_inner.FollowLinks(path); }
    bool Exists(const std::string& path) override { return m_inner.Exists(path); }
    bool MayWrite(const std::string& path) override { return m_inner.MayWrite(path); }
    FileHandle OpenRead(const std::string& path) override { return m_inner.OpenRead(path); }
    std::uint64_t Length(FileHandle& file) override { return m_inner.Length(file); }
    FileInfo Info(FileHandle& file) override { return m_inner.Info(file); }
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        return m_inner.Read(file, buffer, size);
    }
    void AdviseNoReadAhead(FileHandle& file) override { m_inner.AdviseNoReadAhead(file); }
    FileHandle CreateTemp(const std::string& targetPath, std::string& tempPath) override {
        return m_inner.CreateTemp(targetPath, tempPath);
    }
    FileHandle OpenWriteInPlace(const std::string& path) override {
        return m_inner.OpenWriteInPlace(path);
    }
    void SetPermissions(FileHandle& file, std::uint32_t permissions) override {
        m_inner.SetPermissions(file, permissions);
    }
    void Write(FileHandle& file, const void* data, std::size_t size,
               const std::string& path) override {
        m_inner.Write(file, data, size, path);
    }
    void Sync(FileHandle& file) override { m_inner.Sync(file); }
    void Close(FileHandle& file) override { m_inner.Close(file); }
    void MoveNoReplace(const std::string& from, const std::string& to) override {
        m_inner.MoveNoReplace(from, to);
    }
    void MoveReplace(const std::string& from, const std::string& to) override {
        m_inner.MoveReplace(from, to);
    }
    void Remove(const std::string& path) override { m_inner.Remove(path); }

  private:
    FileSystem& m_inner;
};

}  // namespace tt::test
