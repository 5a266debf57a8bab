#include "cli/FolderArgument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/NameEscape.h"

namespace tt::cli {

void CheckFolderArgument(const std::string& path, const std::string& role, FolderUse use) {
    const std::string named = role + " '" + PrintableName(path, true) + "'";
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            throw FolderArgumentError(named + " does not exist");
        throw FolderArgumentError(named + " cannot be reached: " + std::strerror(err));
    }
    if (!S_ISDIR(st.st_mode))
        throw FolderArgumentError(named + " is not a folder");
    // Listing needs reading and searching; storing files needs writing and searching.
    const int mode = use == FolderUse::read ? R_OK | X_OK : W_OK | X_OK;
    if (::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) != 0) {
        const int err = errno;
        throw FolderArgumentError(
            named + (use == FolderUse::read ? " cannot be read: " : " cannot be written: ") +
            std::strerror(err));
    }
}

}  // namespace tt::cli
