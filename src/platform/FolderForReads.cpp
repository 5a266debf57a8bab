#include "platform/FileSystem.h"

namespace tt {

namespace {

// Opens each file by its whole path through the layer itself.
class PathsInFolder final : public FolderForReads {
  public:
    PathsInFolder(FileSystem& fs, const std::string& folder) : FolderForReads(folder), m_fs(fs) {}
    FileHandle OpenRead(const std::string& name) override {
        std::string path = this->path();
        if (!path.empty() && path.back() != '/')
            path += '/';
        return m_fs.OpenRead(path + name);
    }

  private:
    FileSystem& m_fs;
};

}  // namespace

std::unique_ptr<FolderForReads> FileSystem::HoldForReads(const std::string& folder) {
    return std::make_unique<PathsInFolder>(*this, folder);
}

}  // namespace tt
