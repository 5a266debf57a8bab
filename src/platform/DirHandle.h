#pragma once

#include <dirent.h>

#include <memory>

namespace tt {

// Closes a directory stream.
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Owns one open directory stream (from opendir); closes it when dropped.
using DirHandle = std::unique_ptr<DIR, DirCloser>;

}  // namespace tt
