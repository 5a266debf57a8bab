#include "platform/FileError.h"

#include <sys/stat.h>

#include <cerrno>

namespace tt {

namespace {

std::string Substitute(const char* pattern, const std::string& name) {
    std::string out(pattern);
    const auto pos = out.find("%1");
    if (pos != std::string::npos)
        out.replace(pos, 2, name);
    return out;
}

const char* Pattern(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::none:
            return "No error occurred.";
        case FileErrorCause::generic:
            return "An unknown error occurred while accessing %1.";
        case FileErrorCause::fileNotFound:
            return "%1 was not found.";
        case FileErrorCause::badPath:
            return "%1 contains an invalid path.";
        case FileErrorCause::tooManyOpenFiles:
            return "%1 could not be opened because there are too many open files.";
        case FileErrorCause::accessDenied:
            return "Access to %1 was denied.";
        case FileErrorCause::invalidFile:
            return "An invalid file handle was associated with %1.";
        case FileErrorCause::removeCurrentDir:
            return "%1 could not be removed because it is the current directory.";
        case FileErrorCause::directoryFull:
            return "%1 could not be created because the directory is full.";
        case FileErrorCause::badSeek:
            return "Seek failed on %1";
        case FileErrorCause::hardIO:
            return "A hardware I/O error was reported while accessing %1.";
        case FileErrorCause::sharingViolation:
            return "A sharing violation occurred while accessing %1.";
        case FileErrorCause::lockViolation:
            return "A locking violation occurred while accessing %1.";
        case FileErrorCause::diskFull:
            return "Disk full while accessing %1.";
        case FileErrorCause::endOfFile:
            return "An attempt was made to access %1 past its end.";
    }
    return "An unknown error occurred while accessing %1.";
}

bool ParentFolderMissing(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return false;
    struct stat st {};
    return ::stat(path.substr(0, slash).c_str(), &st) != 0 || !S_ISDIR(st.st_mode);
}

}  // namespace

FileError::FileError(FileErrorCause cause, std::string path, int sysError)
    : std::runtime_error(StandardFileErrorText(cause, path.empty() ? "an unnamed file" : path)),
      m_cause(cause),
      m_path(std::move(path)),
      m_sysError(sysError) {}

std::string FileError::StandardText() const {
    // Built afresh rather than taken from what(), which ends at a zero byte in the path.
    return StandardFileErrorText(m_cause, m_path.empty() ? "an unnamed file" : m_path);
}

std::string FileError::StandardText(const std::string& shownPath) const {
    return StandardFileErrorText(m_cause, m_path.empty() ? "an unnamed file" : shownPath);
}

FileError NamingFile(const FileError& error, const std::string& path) {
    if (!error.path().empty())
        return error;
    return FileError(error.cause(), path, error.sysError());
}

std::string StandardFileErrorText(FileErrorCause cause, const std::string& name) {
    return Substitute(Pattern(cause), name);
}

FileErrorCause CauseFromErrno(int err, const std::string& path) {
    switch (err) {
        case 0:
            return FileErrorCause::none;
        case ENOENT:
            return ParentFolderMissing(path) ? FileErrorCause::badPath
                                             : FileErrorCause::fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ:
            return FileErrorCause::badPath;
        case EMFILE:
        case ENFILE:
            return FileErrorCause::tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileErrorCause::accessDenied;
        case EBUSY:
        case ETXTBSY:
            return FileErrorCause::sharingViolation;
        case ENOSPC:
        case EDQUOT:
            return FileErrorCause::diskFull;
        case EIO:
            return FileErrorCause::hardIO;
        default:
            return FileErrorCause::generic;
    }
}

FileError FileErrorFromErrno(int err, const std::string& path, bool carryPath) {
    return FileError(CauseFromErrno(err, path), carryPath ? path : std::string(), err);
}

}  // namespace tt
