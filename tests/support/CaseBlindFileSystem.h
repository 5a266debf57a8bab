#pragma once

#include "PassThroughFileSystem.h"

namespace tt::test {

// The real file system seen as a FUSE driver for FAT shows it: names ignore ASCII
// letter case, and every spelling of a name has an inode number of its own. A move
// to another spelling of the same file changes the stored case; a move onto another
// file's name replaces that file, or fails without replace.
class CaseBlindFileSystem : public PassThroughFileSystem {
  public:
    using PassThroughFileSystem::PassThroughFileSystem;

    // The stored spelling of `path`: the path itself when it exists, else the first
    // name in its folder equal to it ignoring case, else the path unchanged.
    std::string Resolve(const std::string& path);

    std::optional<FileInfo> Stat(const std::string& path) override;
    bool Exists(const std::string& path) override {
        return PassThroughFileSystem::Exists(Resolve(path));
    }
    FileHandle OpenRead(const std::string& path) override {
        return PassThroughFileSystem::OpenRead(Resolve(path));
    }
    void MoveNoReplace(const std::string& from, const std::string& to) override;
    void MoveReplace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override { PassThroughFileSystem::Remove(Resolve(path)); }
};

}  // namespace tt::test
