#include "shell/SystemTrash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

namespace tt {

std::optional<std::string> SystemTrash::MoveToTrash(const std::string& path) {
    // Without the user's data folder, QtCore would make the trash's folders in the
    // current folder: the data folder is made first, and a file that did not land
    // in a trash folder goes back where it was.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome))
        return std::nullopt;
    const QString original = QFile::decodeName(path.c_str());
    QString inTrash;
    if (!QFile::moveToTrash(original, &inTrash))
        return std::nullopt;
    // The home trash ($XDG_DATA_HOME/Trash/files) or a medium's (.Trash-UID/files,
    // .Trash/UID/files).
    const QDir files = QFileInfo(inTrash).absoluteDir();
    QDir trash = files;
    trash.cdUp();
    QDir above = trash;
    above.cdUp();
    const bool inATrash =
        files.dirName() == QStringLiteral("files") &&
        (trash.absolutePath() == QDir(dataHome).absoluteFilePath(QStringLiteral("Trash")) ||
         trash.dirName().startsWith(QStringLiteral(".Trash-")) ||
         above.dirName() == QStringLiteral(".Trash"));
    if (!inATrash) {
        QFile::rename(inTrash, original);
        return std::nullopt;
    }
    return QFile::encodeName(inTrash).toStdString();
}

std::unique_ptr<Trash> MakeSystemTrash() {
    return std::make_unique<SystemTrash>();
}

}  // namespace tt
