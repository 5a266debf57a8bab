#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace tt {

// True when `target` names the file `source` itself, so it is no existing target to
// be asked about or replaced: both have the same device and inode, or their paths
// differ only in letter case while the target's folder lists no entry spelled
// exactly like the target (a file system that ignores case, where a FUSE driver may
// give every spelling of one name its own inode number).
bool IsSameFile(FileSystem& fs, const std::string& source, const std::string& target);

}  // namespace tt
