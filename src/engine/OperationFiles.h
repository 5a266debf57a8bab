#pragma once

#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace tt {

// What one rename or copy operation knows about the files it works on:
// - the names of every folder searched for companions, listed once and then kept up
//   to date as the operation moves and creates files, so a run over thousands of
//   songs does not list the folder once per song;
// - the files the operation itself has moved or copied into place, which a later
//   step of the same operation never replaces.
class OperationFiles {
  public:
    // Forgets everything (start of an operation).
    void Reset();

    // Names in `folder` equal to `baseName` or beginning with `baseName` and a dot,
    // ignoring ASCII case, in byte order. The folder is listed at its first use.
    std::vector<std::string> CompanionCandidates(FileSystem& fs, const std::string& folder,
                                                 const std::string& baseName);

    // A file went from `from` to `to` (rename, or a move that replaced `to`).
    void NoteMoved(const std::string& from, const std::string& to);
    // A new file was put at `path` (a finished copy).
    void NoteCreated(const std::string& path);
    // True when `path` names a file this operation moved or copied into place, under
    // that spelling or, on a file system that ignores case, under another one.
    bool IsPlaced(FileSystem& fs, const std::string& path) const;

  private:
    // (name with A-Z folded to a-z, name as stored), ordered by the folded name so
    // every name beginning with a given text lies in one range.
    using NameSet = std::set<std::pair<std::string, std::string>>;

    NameSet* IndexedFolder(const std::string& path);

    std::unordered_map<std::string, NameSet> m_folders;
    // Paths of the files put in place, by the path with A-Z folded to a-z.
    std::unordered_map<std::string, std::vector<std::string>> m_placed;
};

// The folder part of `path` used to identify a folder: everything before the last
// '/', without trailing separators ("/" for a file in the root, "" for a bare name).
std::string FolderKey(const std::string& path);

}  // namespace tt
