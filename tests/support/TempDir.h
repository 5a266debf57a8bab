#pragma once

#include <string>
#include <vector>

namespace tt::test {

// A fresh folder under the system's temporary folder, removed with its content
// when the object goes away.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& path() const { return m_path; }
    // path() + "/" + name
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

// Helpers for checking what is on disk.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);
// Names in `folder`, sorted by bytes.
std::vector<std::string> ListFolder(const std::string& folder);

}  // namespace tt::test
