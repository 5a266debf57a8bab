#include "engine/SameFile.h"

#include <algorithm>

#include "engine/OperationFiles.h"
#include "platform/PathText.h"
#include "text/NameText.h"

namespace tt {

bool IsSameFile(FileSystem& fs, const std::string& source, const std::string& target) {
    if (source == target)
        return true;
    if (!EqualsNoCase(source, target))
        return false;
    const auto sourceInfo = fs.Stat(source);
    const auto targetInfo = fs.Stat(target);
    if (!sourceInfo || !targetInfo)
        return false;
    if (sourceInfo->device == targetInfo->device && sourceInfo->inode == targetInfo->inode)
        return true;
    const std::string folder = FolderKey(target);
    const auto names = fs.ListNames(folder.empty() ? std::string(".") : folder);
    if (!names)
        return false;
    return std::find(names->begin(), names->end(), NameOf(target)) == names->end();
}

bool FolderIgnoresCase(FileSystem& fs, const std::string& folder,
                       const std::vector<std::string>& names) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    for (const std::string& name : names) {
        if (std::none_of(name.begin(), name.end(), isLetter))
            continue;
        std::string turned = name;
        for (char& c : turned) {
            if (isLetter(c))
                c = static_cast<char>(c ^ 0x20);
        }
        return !std::binary_search(names.begin(), names.end(), turned) &&
               fs.Exists(JoinPath(folder, turned));
    }
    return false;
}

}  // namespace tt
