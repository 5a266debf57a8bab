#include "platform/MoveCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tt {

namespace {

int ErrnoOf(int result) {
    return result == 0 ? 0 : errno;
}

class SystemCalls final : public MoveCalls {
  public:
    int RenameNoReplace(const std::string& from, const std::string& to) override {
        return ErrnoOf(::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE));
    }
    int Link(const std::string& from, const std::string& to) override {
        return ErrnoOf(::link(from.c_str(), to.c_str()));
    }
    int CreateExclusive(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0)
            return errno;
        ::close(fd);  // nothing was written: a failing close loses nothing
        return 0;
    }
    int Rename(const std::string& from, const std::string& to) override {
        return ErrnoOf(::rename(from.c_str(), to.c_str()));
    }
    int Unlink(const std::string& path) override { return ErrnoOf(::unlink(path.c_str())); }
    bool Exists(const std::string& path) override {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0;
    }
};

}  // namespace

MoveCalls& SystemMoveCalls() {
    static SystemCalls calls;
    return calls;
}

}  // namespace tt
