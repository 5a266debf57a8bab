#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace tt {

// True when `target` is another spelling of the file `source` itself, so it is no
// existing target to be asked about or replaced. That needs paths differing only in
// letter case, and then either the same device and inode, or a folder that lists no
// entry spelled exactly like the target (a file system that ignores case, where a
// FUSE driver may give every spelling of one name its own inode number). Another
// hard link or a symbolic link under a different name is an existing file.
bool IsSameFile(FileSystem& fs, const std::string& source, const std::string& target);

}  // namespace tt
