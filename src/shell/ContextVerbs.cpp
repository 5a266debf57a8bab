#include "shell/ContextVerbs.h"

#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "shell/ShellFolder.h"
#include "text/NameText.h"
#include "text/UiLanguage.h"

namespace tt::shell {
namespace {

bool IsSingleName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && IsValidFileName(name);
}

}  // namespace

const char* VerbLabel(Verb verb) {
    switch (verb) {
        case Verb::open:
            return Tr("Open", "Öffnen");
        case Verb::newFolder:
            return Tr("New Folder", "Neuer Ordner");
        case Verb::rename:
            return Tr("Rename", "Umbenennen");
        case Verb::moveToTrash:
            return Tr("Move to Trash", "In den Papierkorb verschieben");
        case Verb::copyPath:
            return Tr("Copy Path", "Pfad kopieren");
    }
    return "";
}

std::vector<Verb> VerbsOf(const ShellFolder& parent, const std::uint8_t* id) {
    if (parent.PathOf(id).empty())
        return {Verb::open};
    if (parent.IsPlainFolder(id))
        return {Verb::open, Verb::newFolder, Verb::rename, Verb::moveToTrash, Verb::copyPath};
    return {Verb::open, Verb::newFolder, Verb::copyPath};
}

int CreateFolder(const std::string& parent, const std::string& name) {
    if (!IsSingleName(name))
        return EINVAL;
    return ::mkdir(JoinPath(parent, name).c_str(), 0777) == 0 ? 0 : errno;
}

int RenameFolder(const std::string& path, const std::string& newName) {
    if (!IsSingleName(newName))
        return EINVAL;
    if (NameOf(path) == newName)
        return 0;
    try {
        SystemFileSystem().MoveNoReplace(path, JoinPath(FolderOf(path), newName));
    } catch (const FileError& error) {
        return error.sysError() != 0 ? error.sysError() : EIO;
    }
    return 0;
}

int MoveFolderToTrash(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno;
    QFile folder(QFile::decodeName(QByteArray::fromStdString(path)));
    return folder.moveToTrash() ? 0 : EIO;
}

std::string UnusedFolderName(const std::string& parent) {
    const std::string base = Tr("New Folder", "Neuer Ordner");
    std::string name = base;
    struct stat info {};
    for (int number = 2; ::lstat(JoinPath(parent, name).c_str(), &info) == 0; ++number)
        name = base + " (" + std::to_string(number) + ")";
    return name;
}

}  // namespace tt::shell
