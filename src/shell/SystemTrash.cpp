#include "shell/SystemTrash.h"

#include <QFile>
#include <QString>

namespace tt {

std::optional<std::string> SystemTrash::MoveToTrash(const std::string& path) {
    QString inTrash;
    if (!QFile::moveToTrash(QFile::decodeName(path.c_str()), &inTrash))
        return std::nullopt;
    return QFile::encodeName(inTrash).toStdString();
}

}  // namespace tt
