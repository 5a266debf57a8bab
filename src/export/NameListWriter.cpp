#include "export/NameListWriter.h"

#include <cerrno>

#include "platform/PathText.h"
#include "text/ControlBytes.h"
#include "text/NameText.h"
#include "text/UiLanguage.h"

namespace tt {

namespace {

constexpr const char* kLineEnd = "\r\n";

// The temporary file and its handle until the file has been moved into place.
// Dropped early, it closes the handle and removes the file.
class PendingTempFile {
  public:
    PendingTempFile(FileSystem& fs, const std::string& target) : m_fs(fs) {
        try {
            m_file = fs.CreateTemp(target, m_path);
        } catch (const FileError& error) {
            throw NameListCreateError(error);
        }
    }
    PendingTempFile(const PendingTempFile&) = delete;
    PendingTempFile& operator=(const PendingTempFile&) = delete;
    ~PendingTempFile() {
        if (m_path.empty())
            return;
        m_file = FileHandle();
        // Best effort: the error that stopped the write is the one to report.
        try {
            m_fs.Remove(m_path);
        } catch (const FileError&) {
        }
    }

    FileHandle& file() { return m_file; }

    void MoveOnto(const std::string& target) {
        m_fs.MoveReplace(m_path, target);
        m_path.clear();
    }

  private:
    FileSystem& m_fs;
    FileHandle m_file;
    std::string m_path;
};

}  // namespace

std::string NameListContent(const SongFileList& list, NameListFormat format) {
    const bool blanks = format == NameListFormat::blankText;
    std::string out = Tr("Old file name", "Alter Dateiname");
    if (blanks)
        out.append(kBlankTextHeadingGap, ' ');
    else
        out += '\t';
    out += Tr("New file name", "Neuer Dateiname");
    out += kLineEnd;

    for (std::int32_t i = 0; i < list.count(); ++i) {
        const SongFileEntry& entry = list.ElementAt(i);
        // One entry, one line: a tab or line break inside a name is written escaped.
        const std::string oldName = EscapeControlBytes(entry.fileName);
        out += oldName;
        if (blanks) {
            const std::size_t width = CharacterCount(oldName);
            if (width < kBlankTextNameWidth)
                out.append(kBlankTextNameWidth - width, ' ');
            out += ' ';
        } else {
            out += '\t';
        }
        out += EscapeControlBytes(NewNameText(entry));
        out += kLineEnd;
    }
    return out;
}

namespace {

// Writes the content into the existing file at `target` where it is: no temporary
// file, no move. What it held before is lost if a write fails.
void WriteInPlace(FileSystem& fs, const std::string& target, const std::string& path,
                  const std::string& content) {
    FileHandle file;
    try {
        file = fs.OpenWriteInPlace(target);
    } catch (const FileError& error) {
        throw NameListCreateError(error);
    }
    fs.Write(file, content.data(), content.size(), path);
    fs.Sync(file);
    fs.Close(file);
}

}  // namespace

void WriteNameList(FileSystem& fs, const std::string& path, const SongFileList& list,
                   NameListFormat format) {
    const std::string content = NameListContent(list, format);

    // A link is followed: the file it names is replaced and the link stays.
    const std::string target = fs.FollowLinks(path);
    const auto existing = fs.Stat(target);
    if (existing && existing->isDirectory)
        throw NameListFolderError(FileError(FileErrorCause::accessDenied, path, EISDIR));
    if (existing) {
        // A file this user may not write is not replaced behind its back, as
        // opening it for writing would not be allowed either.
        if (!fs.MayWrite(target))
            throw NameListCreateError(FileError(FileErrorCause::accessDenied, target, EACCES));
        // A device or a named pipe cannot be replaced by a plain file without
        // destroying it; a file in a folder that may not change cannot be replaced
        // at all; and a file with more names than this one would lose them. The
        // list is written into these where they are.
        if (!existing->isRegular || existing->linkCount > 1 || !fs.MayWrite(FolderOf(target))) {
            WriteInPlace(fs, target, path, content);
            return;
        }
    }

    PendingTempFile pending(fs, target);
    if (existing && existing->isRegular)
        fs.SetPermissions(pending.file(), existing->permissions);
    fs.Write(pending.file(), content.data(), content.size(), path);
    fs.Sync(pending.file());
    fs.Close(pending.file());
    pending.MoveOnto(target);
}

const char* ErrorCreatingFileText() {
    return Tr("Error creating file!", "Fehler beim Erstellen der Datei!");
}

std::string FolderTargetText(const std::string& shownPath) {
    return shownPath + Tr(" is a folder.", " ist ein Ordner.");
}

}  // namespace tt
