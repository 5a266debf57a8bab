#include "desktop/HelpPage.h"

#include <QDir>
#include <QFileInfo>

namespace tt {

QString FindHelpPage(const QString& startDir, bool german) {
    const QString name =
        german ? QStringLiteral("Tunetitler.htm") : QStringLiteral("Tunetitler_e.htm");
    const QString folders[] = {startDir, QStringLiteral(TUNETITLER_DATA_DIR),
                               QStringLiteral(TUNETITLER_SOURCE_DATA_DIR)};
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QFileInfo page(QDir(folder), name);
        if (page.isFile())
            return page.absoluteFilePath();
    }
    return {};
}

}  // namespace tt
