#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tt {

// True when `target` is another spelling of the file `source` itself, so it is no
// existing target to be asked about or replaced. That needs paths differing only in
// letter case, and then either the same device and inode, or a folder that lists no
// entry spelled exactly like the target (a file system that ignores case, where a
// FUSE driver may give every spelling of one name its own inode number). Another
// hard link or a symbolic link under a different name is an existing file.
bool IsSameFile(FileSystem& fs, const std::string& source, const std::string& target);

// True when the file system of `folder` ignores letter case. `names` are the folder's
// names in byte order. One name with a letter is looked up with every ASCII letter's
// case turned: where case counts, that spelling is missing or is a name of its own in
// the folder; where case is ignored, it is found although the folder does not list it
// (the same reasoning as above, which holds where a FUSE driver gives each spelling
// its own inode number).
bool FolderIgnoresCase(FileSystem& fs, const std::string& folder,
                       const std::vector<std::string>& names);

}  // namespace tt
