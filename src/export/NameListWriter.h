#pragma once

#include <string>

#include "engine/SongFileList.h"
#include "export/NameListFormat.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

namespace tt {

// Width in characters the blank text pads old names to; a longer name is written whole.
inline constexpr std::size_t kBlankTextNameWidth = 40;
// Blanks between the two headings of the blank text, in both languages.
inline constexpr std::size_t kBlankTextHeadingGap = 26;

// The whole file content, byte for byte: a header line with the headings of the
// current UI language, then one line per entry in list order, every line ended by
// CR LF. Tab text and spreadsheet put a tab between the columns; blank text pads
// the old name with blanks to 40 characters and adds one blank. Names are written
// byte for byte, except that one holding a control byte (tab, line break ...) is
// written escaped (\t, \n, \r, \xNN, and a backslash as \\), so every entry keeps
// one line and its columns.
std::string NameListContent(const SongFileList& list, NameListFormat format);

// The temporary file beside the target could not be created: nothing was written.
class NameListCreateError : public FileError {
  public:
    explicit NameListCreateError(const FileError& cause) : FileError(cause) {}
};

// The target is a folder: nothing was written (a NameListCreateError naming it).
class NameListFolderError : public NameListCreateError {
  public:
    using NameListCreateError::NameListCreateError;
};

// Writes the name list to `path`. The content goes to a new temporary file in the
// same folder, which is flushed, closed and then moved over `path` in one step,
// so an existing file is either replaced whole or left as it was; it keeps the
// replaced file's permission bits. A symbolic link is followed and the file it
// names is replaced, the link kept. An existing file this process may not write
// is left as it is (NameListCreateError, access denied). An existing target that
// is no plain file (a device, a named pipe), has further hard links, or lies in a
// folder this process may not change is written through where it is, with no
// temporary file. Any failure removes the temporary file and throws:
// NameListCreateError when the file could not be created or opened (its
// NameListFolderError when `path` names a folder), else the
// FileError of the failed write, flush, close or move.
void WriteNameList(FileSystem& fs, const std::string& path, const SongFileList& list,
                   NameListFormat format);

// Message shown when the file cannot be created, in the current UI language.
const char* ErrorCreatingFileText();
// Message for a target that is a folder, naming it by `shownPath`, in the current
// UI language.
std::string FolderTargetText(const std::string& shownPath);

}  // namespace tt
