#pragma once

#include <cstdint>
#include <string>

namespace tt {

// Why a song or companion that was to go stays where it is.
enum class LeftReason {
    declined,      // the overwrite question was answered No (in this run, once for all)
    cancelled,     // the run was cancelled (Cancel, end of input, a stop) before it
    held,          // its new name is held by a song of the list, or by such a song's companion
    notPlainFile,  // it, or what is at its new name, is a folder or other file that is no plain
                   // file
    changed,       // its file changed, or was replaced by this run, since the list was read
    taken,         // a file this run put in place holds its new name
    failed,        // too large, read short, or an error ended the run before it
};

// How a rename or copy went, file by file, for a front end that logs it or
// reports how the run ended (all optional: a window shows the rows instead).
class OperationReport {
  public:
    virtual ~OperationReport() = default;
    // A file (song or companion) now stands at `to`: moved there, or copied there
    // from `from`.
    virtual void FileTransferred(const std::string& /*from*/, const std::string& /*to*/) {}
    // A selected titled song stays where it is, for `reason`; its row stays selected.
    virtual void SongLeft(std::int32_t /*row*/, LeftReason /*reason*/) {}
    // A companion file that was to go along with its song stays where it is: its
    // new name was taken by another file of this operation, by a listed song or its
    // companion, or by a folder or other file that is no plain file, the companion
    // itself is no plain file, or the overwrite question was answered No or Cancel.
    virtual void CompanionLeft(const std::string& /*path*/, LeftReason /*reason*/) {}
};

}  // namespace tt
