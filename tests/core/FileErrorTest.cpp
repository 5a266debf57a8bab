#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

namespace tt {
namespace {

TEST(FileError, ErrnoMapsToTheStandardCauses) {
    test::TempDir dir;
    // A missing file is "not found"; a missing folder on its way is a bad path.
    EXPECT_EQ(CauseFromErrno(ENOENT, dir / "missing.mid"), FileErrorCause::fileNotFound);
    EXPECT_EQ(CauseFromErrno(ENOENT, dir / "no-folder/missing.mid"), FileErrorCause::badPath);
    EXPECT_EQ(CauseFromErrno(ENOENT, "missing.mid"), FileErrorCause::fileNotFound);
    EXPECT_EQ(CauseFromErrno(ENOENT, "/missing.mid"), FileErrorCause::fileNotFound);

    // Every other errno the file layer meets maps to one cause whatever the path.
    using enum FileErrorCause;
    const std::pair<FileErrorCause, std::vector<int>> causes[] = {
        {accessDenied, {EACCES, EPERM, EROFS, EISDIR}},
        {diskFull, {ENOSPC, EDQUOT}},
        {hardIO, {EIO}},
        {badPath, {ENOTDIR, ENAMETOOLONG, EINVAL, EILSEQ}},
        {tooManyOpenFiles, {EMFILE, ENFILE}},
        {sharingViolation, {EBUSY, ETXTBSY}},
        {generic, {EXDEV, ELOOP}},
        {none, {0}},
    };
    for (const auto& [cause, errors] : causes) {
        for (const int error : errors)
            EXPECT_EQ(CauseFromErrno(error, "x"), cause) << (error ? strerrorname_np(error) : "0");
    }
}

TEST(FileError, TextsNameTheFileOrAnUnnamedFile) {
    EXPECT_EQ(StandardFileErrorText(FileErrorCause::hardIO, "an unnamed file"),
              "A hardware I/O error was reported while accessing an unnamed file.");
    EXPECT_EQ(StandardFileErrorText(FileErrorCause::badSeek, "/m/a.mid"),
              "Seek failed on /m/a.mid");

    const FileError named = FileErrorFromErrno(EACCES, "/music/song.mid", true);
    EXPECT_EQ(named.cause(), FileErrorCause::accessDenied);
    EXPECT_EQ(named.path(), "/music/song.mid");
    EXPECT_EQ(named.sysError(), EACCES);
    EXPECT_EQ(named.StandardText(), "Access to /music/song.mid was denied.");

    const FileError unnamed = FileErrorFromErrno(ENOSPC, "/music/song.mid", false);
    EXPECT_EQ(unnamed.path(), "");
    EXPECT_STREQ(unnamed.what(), "Disk full while accessing an unnamed file.");

    // A name holding "%1" is put in as it is.
    EXPECT_EQ(FileError(FileErrorCause::fileNotFound, "/m/%1.mid").StandardText(),
              "/m/%1.mid was not found.");
}

TEST(FileError, OpeningForReadNamesTheFile) {
    test::TempDir dir;
    try {
        SystemFileSystem().OpenRead(dir / "missing.mid");
        ADD_FAILURE() << "opened a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileErrorCause::fileNotFound);
        EXPECT_EQ(error.StandardText(), dir / "missing.mid" + " was not found.");
    }
    try {
        SystemFileSystem().OpenRead(dir / "no-folder/missing.mid");
        ADD_FAILURE() << "opened a file in a missing folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileErrorCause::badPath);
    }
}

}  // namespace
}  // namespace tt
