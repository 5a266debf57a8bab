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

}  // namespace tt
