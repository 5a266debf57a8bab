#pragma once

#include <stdexcept>
#include <string>

namespace tt {

// Why a file step failed: one cause per standard file-error text, so every failure
// is shown with the text of its cause (StandardFileErrorText).
enum class FileErrorCause {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
};

// A failed file step. It carries the cause, the path it concerned (empty when the
// step names no file: reading, closing, renaming and removing) and the system's
// error number for diagnostics.
class FileError : public std::runtime_error {
  public:
    FileError(FileErrorCause cause, std::string path, int sysError = 0);

    FileErrorCause cause() const { return m_cause; }
    const std::string& path() const { return m_path; }
    int sysError() const { return m_sysError; }

    // The standard text of the cause with the path, or "an unnamed file" when
    // the error carries none.
    std::string StandardText() const;
    // The same with `shownPath` written for the path (the path as the user
    // interface writes it, escaped on a terminal).
    std::string StandardText(const std::string& shownPath) const;

  private:
    FileErrorCause m_cause;
    std::string m_path;
    int m_sysError;
};

// `error` naming `path` when it names no file itself (a step on an open file, a
// rename): the caller knows which file the user would look for.
FileError NamingFile(const FileError& error, const std::string& path);

// Text shown when memory runs out.
inline constexpr const char* kOutOfMemoryText = "Out of memory.";

// Standard text of a cause with `name` in place of the file.
std::string StandardFileErrorText(FileErrorCause cause, const std::string& name);

// Maps an errno value to a cause. `path` is the path the call concerned; for ENOENT
// it decides between "file not found" and "bad path" (a missing parent folder).
FileErrorCause CauseFromErrno(int err, const std::string& path);

// A FileError for errno `err` on `path`; `carryPath` says whether the text names it.
FileError FileErrorFromErrno(int err, const std::string& path, bool carryPath);

}  // namespace tt
