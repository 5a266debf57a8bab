#include "platform/JournalFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <memory>

#include "platform/FileError.h"

namespace tt {

void MakeFolders(const std::string& folder) {
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if (end != folder.size() && folder[end] != '/')
            continue;
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            throw FileErrorFromErrno(errno, folder, true);
    }
}

FileHandle OpenJournalLocked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        throw FileErrorFromErrno(errno, path, true);
    FileHandle file(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        throw FileError(FileErrorCause::lockViolation, path, errno);
    return file;
}

bool JournalInUse(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const FileHandle file(fd);
    return ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

std::string ResolvedFolder(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

bool KeepsInodeNumbers(const std::string& path) {
    struct statfs info {};
    if (::statfs(path.c_str(), &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
        case 0x65735546:  // FUSE
        case 0x4d44:      // FAT
        case 0x2011BAB0:  // exFAT
        case 0x5346544e:  // NTFS
        case 0x517B:      // SMB
        case 0xFF534D42:  // CIFS
        case 0xFE534D42:  // SMB2
            return false;
        default:
            return true;
    }
}

std::string CurrentFolder() {
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? std::string(folder.get()) : std::string(".");
}

void ReachFileStep() {
    static long killAt = 0;
    static int signal = SIGKILL;
    static const bool read = [] {
        if (const char* value = std::getenv("TUNETITLER_KILL_AT_STEP")) {
            char* end = nullptr;
            killAt = std::strtol(value, &end, 10);
            if (*end == ':')
                signal = static_cast<int>(std::strtol(end + 1, nullptr, 10));
        }
        return true;
    }();
    static long reached = 0;
    if (read && killAt > 0 && ++reached == killAt)
        ::kill(::getpid(), signal);
}

}  // namespace tt
