#include "platform/FileSystem.h"

namespace tt {

namespace {

// Opens each file by its whole path through the layer itself.
class PathsInFolder final : public FolderForReads {
  public:
    PathsInFolder(FileSystem& fs, const std::string& folder) : FolderForReads(folder), m_fs(fs) {}
    FileHandle OpenRead(const std::string& name) override { return m_fs.OpenRead(PathOf(name)); }

  private:
    FileSystem& m_fs;
};

}  // namespace

std::string FolderForReads::PathOf(const std::string& name) const {
    std::string path = m_path;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + name;
}

std::unique_ptr<FolderForReads> FileSystem::HoldForReads(const std::string& folder) {
    return std::make_unique<PathsInFolder>(*this, folder);
}

}  // namespace tt
