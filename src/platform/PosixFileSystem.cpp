#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>

#include "platform/DirHandle.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/JournalFile.h"
#include "platform/MoveCalls.h"
#include "platform/PathText.h"

namespace tt {

namespace {

// A fresh hidden name for a temporary file in `folder`.
std::string TempNameIn(const std::string& folder) {
    static std::atomic<unsigned> sequence{0};
    std::random_device seed;
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "/.tunetitler-%d-%u-%08x.tmp", ::getpid(), sequence++,
                  seed());
    return folder + suffix;
}

// True when `from` and `to` differ only in the case of ASCII letters: on a file
// system that ignores case, another spelling of the same name.
bool IsCaseOnlyChange(const std::string& from, const std::string& to) {
    return from != to && EqualsNoCase(from, to);
}

// True when `from` is a symbolic link that leads to the very file `to` names.
bool IsLinkTo(const std::string& from, const std::string& to) {
    struct stat link {};
    struct stat linked {};
    struct stat target {};
    return ::lstat(from.c_str(), &link) == 0 && S_ISLNK(link.st_mode) &&
           ::stat(from.c_str(), &linked) == 0 && ::lstat(to.c_str(), &target) == 0 &&
           linked.st_dev == target.st_dev && linked.st_ino == target.st_ino;
}

// True when `from` and `to` are two hard links of one file (neither a symbolic link).
bool AreHardLinks(const std::string& from, const std::string& to) {
    struct stat a {};
    struct stat b {};
    return ::lstat(from.c_str(), &a) == 0 && !S_ISLNK(a.st_mode) && ::lstat(to.c_str(), &b) == 0 &&
           !S_ISLNK(b.st_mode) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

[[noreturn]] void ThrowErrno(int err, const std::string& path, bool carryPath) {
    throw FileErrorFromErrno(err, path, carryPath);
}

void CheckTargetName(const std::string& path, bool carryPath) {
    if (!IsValidFileName(NameOf(path)))
        throw FileError(FileErrorCause::badPath, carryPath ? path : std::string(), EINVAL);
}

FileInfo InfoFromStat(const struct stat& st) {
    FileInfo info;
    info.isDirectory = S_ISDIR(st.st_mode);
    info.isRegular = S_ISREG(st.st_mode);
    info.permissions = static_cast<std::uint32_t>(st.st_mode & 0777);
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.lastWriteTime = FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    info.device = static_cast<std::uint64_t>(st.st_dev);
    info.inode = static_cast<std::uint64_t>(st.st_ino);
    info.linkCount = static_cast<std::uint64_t>(st.st_nlink);
    return info;
}

// The first eight bytes of a name as one big-endian number, a missing byte (past a
// shorter name's end) as zero. Two such numbers compare as the names' first eight
// bytes do in byte order, since no name holds a zero byte; only names that agree
// in them all need a comparison of their own.
std::uint64_t LeadingBytes(std::string_view name) {
    std::uint64_t leading = 0;
    for (std::size_t i = 0; i < 8; ++i)
        leading = leading << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
    return leading;
}

// Where a name lies in the listing's text, with its first bytes for sorting.
struct NameSpot {
    std::uint64_t leading;
    std::size_t offset;
    std::size_t size;
};

// The folder open as a descriptor; each file is opened relative to it.
class DescriptorFolder final : public FolderForReads {
  public:
    DescriptorFolder(const std::string& folder, FileHandle dir)
        : FolderForReads(folder), m_dir(std::move(dir)) {}
    FileHandle OpenRead(const std::string& name) override {
        const int fd = ::openat(m_dir.fd(), name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            ThrowErrno(errno, PathOf(name), true);
        return FileHandle(fd);
    }

  private:
    FileHandle m_dir;
};

class PosixFileSystem final : public FileSystem {
  public:
    explicit PosixFileSystem(MoveCalls& calls) : m_calls(calls) {}

    std::optional<std::vector<std::string>> ListNames(const std::string& folder) override {
        const DirHandle dir(::opendir(folder.c_str()));
        if (!dir)
            return std::nullopt;
        // The names are gathered in one block of text and sorted as small records
        // that point into it, each made once as a string when in place: sorting
        // the strings themselves would move each of them many times.
        std::string text;
        std::vector<NameSpot> spots;
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string_view name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            spots.push_back({LeadingBytes(name), text.size(), name.size()});
            text += name;
        }
        const auto nameAt = [&text](const NameSpot& spot) {
            return std::string_view(text).substr(spot.offset, spot.size);
        };
        std::sort(spots.begin(), spots.end(), [&nameAt](const NameSpot& a, const NameSpot& b) {
            if (a.leading != b.leading)
                return a.leading < b.leading;
            return nameAt(a) < nameAt(b);
        });
        std::vector<std::string> names;
        names.reserve(spots.size());
        for (const NameSpot& spot : spots)
            names.emplace_back(nameAt(spot));
        return names;
    }

    std::optional<FileInfo> Stat(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return std::nullopt;
        return InfoFromStat(st);
    }

    std::string FollowLinks(const std::string& path) override {
        std::string current = path;
        // As many steps as the system itself follows before it gives up (ELOOP).
        for (int step = 0; step < 40; ++step) {
            struct stat st {};
            if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
                return current;
            std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1,
                               '\0');
            const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
                return current;  // changed meanwhile: the system resolves it when written
            target.resize(static_cast<std::size_t>(length));
            current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
        }
        return current;
    }

    bool Exists(const std::string& path) override {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0;
    }

    bool MayWrite(const std::string& path) override {
        // A folder's names change only with search permission too. The effective
        // ids decide, as they do for open(2) and rename(2).
        struct stat st {};
        const int mode = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? W_OK | X_OK : W_OK;
        return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
    }

    FileHandle OpenRead(const std::string& path) override {
        // Without O_NONBLOCK, opening a FIFO that carries a song file's name would wait
        // for a writer and hang the scan; regular files read the same either way.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            ThrowErrno(errno, path, true);
        return FileHandle(fd);
    }

    std::unique_ptr<FolderForReads> HoldForReads(const std::string& folder) override {
        const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return FileSystem::HoldForReads(folder);  // each open then names the error
        return std::make_unique<DescriptorFolder>(folder, FileHandle(fd));
    }

    std::uint64_t Length(FileHandle& file) override {
        struct stat st {};
        if (::fstat(file.fd(), &st) != 0)
            ThrowErrno(errno, {}, false);
        return static_cast<std::uint64_t>(st.st_size);
    }

    FileInfo Info(FileHandle& file) override {
        struct stat st {};
        if (::fstat(file.fd(), &st) != 0)
            ThrowErrno(errno, {}, false);
        return InfoFromStat(st);
    }

    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        auto* out = static_cast<unsigned char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = ::read(file.fd(), out + done, size - done);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                ThrowErrno(errno, {}, false);
            }
            if (got == 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        return done;
    }

    // Every step is one or a few system calls on the caller's own descriptors.
    bool TakesReadsFromSeveralThreads() const override { return true; }

    void AdviseNoReadAhead(FileHandle& file) override {
        // A file system that takes no advice (a pipe, some FUSE drivers) reads as before.
        ::posix_fadvise(file.fd(), 0, 0, POSIX_FADV_RANDOM);
    }

    FileHandle CreateTemp(const std::string& targetPath, std::string& tempPath) override {
        ReachFileStep();
        CheckTargetName(targetPath, true);
        const std::string folder = FolderOf(targetPath);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = TempNameIn(folder);
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                tempPath = std::move(candidate);
                return FileHandle(fd);
            }
            if (errno != EEXIST)
                ThrowErrno(errno, targetPath, true);
        }
        ThrowErrno(EEXIST, targetPath, true);
    }

    FileHandle OpenWriteInPlace(const std::string& path) override {
        // The system ignores O_TRUNC for devices and pipes.
        const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            ThrowErrno(errno, path, true);
        return FileHandle(fd);
    }

    void SetPermissions(FileHandle& file, std::uint32_t permissions) override {
        if (::fchmod(file.fd(), static_cast<mode_t>(permissions & 0777)) != 0)
            ThrowErrno(errno, {}, false);
    }

    void Write(FileHandle& file, const void* data, std::size_t size,
               const std::string& path) override {
        ReachFileStep();
        const auto* in = static_cast<const unsigned char*>(data);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t put = ::write(file.fd(), in + done, size - done);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                ThrowErrno(errno, path, true);
            }
            if (put == 0)
                throw FileError(FileErrorCause::diskFull, path, ENOSPC);
            done += static_cast<std::size_t>(put);
        }
    }

    void Sync(FileHandle& file) override {
        ReachFileStep();
        // Some file systems cannot sync; that is no reason to fail the copy.
        if (::fsync(file.fd()) != 0 && errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            ThrowErrno(errno, {}, false);
    }

    void Close(FileHandle& file) override {
        const int fd = file.release();
        if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
            ThrowErrno(errno, {}, false);
    }

    void MoveNoReplace(const std::string& from, const std::string& to) override {
        ReachFileStep();
        CheckTargetName(to, false);
        if (IsCaseOnlyChange(from, to))
            MoveThroughTemp(from, to, false);
        else
            MoveNoReplaceDirect(from, to);
    }

    void MoveReplace(const std::string& from, const std::string& to) override {
        ReachFileStep();
        CheckTargetName(to, false);
        // A link moved over the file it leads to would leave a link to itself and
        // lose the file, and rename(2) between two hard links of one file does
        // nothing at all. Either way `to` already holds the content: only the old
        // name has to go.
        const bool caseOnly = IsCaseOnlyChange(from, to);
        if (IsLinkTo(from, to) || (!caseOnly && AreHardLinks(from, to))) {
            Remove(from);
            return;
        }
        if (caseOnly)
            MoveThroughTemp(from, to, true);
        else if (const int err = m_calls.Rename(from, to); err != 0)
            ThrowErrno(err, to, false);
    }

    void Remove(const std::string& path) override {
        ReachFileStep();
        if (::unlink(path.c_str()) != 0)
            ThrowErrno(errno, path, false);
    }

  private:
    void MoveNoReplaceDirect(const std::string& from, const std::string& to) {
        int err = m_calls.RenameNoReplace(from, to);
        if (err == 0)
            return;
        if (err != EINVAL && err != ENOSYS && err != ENOTSUP)
            ThrowErrno(err, to, false);
        // The file system refuses the no-replace flag: a hard link cannot replace either.
        err = m_calls.Link(from, to);
        if (err == 0) {
            if (const int unlinkErr = m_calls.Unlink(from); unlinkErr != 0) {
                m_calls.Unlink(to);
                ThrowErrno(unlinkErr, from, false);
            }
            return;
        }
        if (err != EPERM && err != ENOTSUP && err != ENOSYS && err != EMLINK && err != EXDEV)
            ThrowErrno(err, to, false);
        MoveOverPlaceholder(from, to);
    }

    // A move where neither the no-replace rename nor hard links exist (FAT through
    // FUSE). A plain rename would replace a file that appeared at `to` meanwhile,
    // and some drivers (fusefat) remove the source before they refuse a new name
    // they cannot store (a '|', a character beyond ASCII), so the file would be
    // gone. The new name is therefore claimed first, by creating an empty file
    // there exclusively: a refused or taken name fails at that step with nothing
    // changed, and the rename then replaces only that placeholder. When the rename
    // fails the placeholder goes again, unless the source has gone: then what is at
    // `to` may be the file itself.
    void MoveOverPlaceholder(const std::string& from, const std::string& to) {
        if (const int err = m_calls.CreateExclusive(to); err != 0)
            ThrowErrno(err, to, false);
        ReachFileStep();  // the new name is claimed by an empty placeholder here
        const int err = m_calls.Rename(from, to);
        if (err == 0)
            return;
        if (m_calls.Exists(from))
            m_calls.Unlink(to);
        ThrowErrno(err, to, false);
    }

    // Gives a file another spelling of its name in two renames through a temporary
    // name. A FAT driver may free a file's clusters when it is renamed straight to
    // another spelling of its own name (fusefat does), and the next file written
    // then takes them over. When the second step fails the file gets its old name
    // back.
    void MoveThroughTemp(const std::string& from, const std::string& to, bool replace) {
        std::string temp;
        for (int attempt = 0;; ++attempt) {
            temp = TempNameIn(FolderOf(to));
            try {
                MoveNoReplaceDirect(from, temp);
                break;
            } catch (const FileError& error) {
                if (error.sysError() != EEXIST || attempt >= 99)
                    throw;
            }
        }
        ReachFileStep();  // the song is hidden under the temporary name here
        try {
            if (!replace)
                MoveNoReplaceDirect(temp, to);
            else if (const int err = m_calls.Rename(temp, to); err != 0)
                ThrowErrno(err, to, false);
        } catch (...) {
            m_calls.Rename(temp, from);
            throw;
        }
    }

    MoveCalls& m_calls;
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem instance(SystemMoveCalls());
    return instance;
}

std::unique_ptr<FileSystem> MakeFileSystemMovingWith(MoveCalls& calls) {
    return std::make_unique<PosixFileSystem>(calls);
}

bool IsValidFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    // A zero byte ends the name at the system's interface, so a name holding one
    // would reach another file than the one named.
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x1F || byte == 0x7F;
    });
}

}  // namespace tt
