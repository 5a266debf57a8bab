#include "ui/PickFolder.h"

#include <QFileDialog>

#include "app/MessageBoxes.h"
#include "app/UiLanguage.h"

namespace tt {

// Placeholder until the program's own folder picker exists.
bool PickFolder(QWidget* parent, bool destination, std::string& path) {
    const QString title =
        QString::fromUtf8(destination ? Tr("Select Destination Folder", "Zielordner wählen")
                                      : Tr("Select Folder", "Ordner wählen"));
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, PathFromCore(path));
    if (chosen.isEmpty())
        return false;
    path = PathToCore(chosen);
    return true;
}

}  // namespace tt
