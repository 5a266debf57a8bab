#include "engine/OperationFiles.h"

#include <algorithm>

#include "engine/SameFile.h"
#include "platform/PathText.h"
#include "text/NameText.h"

namespace tt {

std::string FolderKey(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    std::string folder = path.substr(0, slash);
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder.empty() ? std::string("/") : folder;
}

void OperationFiles::Reset() {
    m_folders.clear();
    m_placed.clear();
}

std::vector<std::string> OperationFiles::CompanionCandidates(FileSystem& fs,
                                                             const std::string& folder,
                                                             const std::string& baseName) {
    auto found = m_folders.find(folder);
    if (found == m_folders.end()) {
        NameSet names;
        // A folder that cannot be listed offers no companions.
        if (const auto listed = fs.ListNames(folder.empty() ? std::string(".") : folder)) {
            for (const std::string& name : *listed)
                names.emplace(FoldAsciiCase(name), name);
        }
        found = m_folders.emplace(folder, std::move(names)).first;
    }

    const std::string key = FoldAsciiCase(baseName);
    std::vector<std::string> matches;
    const NameSet& names = found->second;
    for (auto it = names.lower_bound({key, std::string()});
         it != names.end() && it->first.compare(0, key.size(), key) == 0; ++it) {
        if (it->first.size() == key.size() || it->first[key.size()] == '.')
            matches.push_back(it->second);
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

OperationFiles::NameSet* OperationFiles::IndexedFolder(const std::string& path) {
    const auto found = m_folders.find(FolderKey(path));
    return found == m_folders.end() ? nullptr : &found->second;
}

void OperationFiles::NoteMoved(const std::string& from, const std::string& to) {
    if (NameSet* names = IndexedFolder(from)) {
        std::string name = NameOf(from);
        names->erase({FoldAsciiCase(name), name});
    }
    const auto placed = m_placed.find(FoldAsciiCase(from));
    if (placed != m_placed.end()) {
        std::erase(placed->second, from);
        if (placed->second.empty())
            m_placed.erase(placed);
    }
    NoteCreated(to);
}

void OperationFiles::NoteCreated(const std::string& path) {
    if (NameSet* names = IndexedFolder(path)) {
        std::string name = NameOf(path);
        names->emplace(FoldAsciiCase(name), std::move(name));
    }
    auto& spellings = m_placed[FoldAsciiCase(path)];
    if (std::find(spellings.begin(), spellings.end(), path) == spellings.end())
        spellings.push_back(path);
}

bool OperationFiles::IsPlaced(FileSystem& fs, const std::string& path) const {
    const auto placed = m_placed.find(FoldAsciiCase(path));
    if (placed == m_placed.end())
        return false;
    return std::any_of(placed->second.begin(), placed->second.end(),
                       [&](const std::string& p) { return p == path || IsSameFile(fs, p, path); });
}

}  // namespace tt
