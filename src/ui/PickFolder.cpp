#include "ui/PickFolder.h"

#include "ui/FolderDlg.h"

namespace tt {

bool PickFolder(QWidget* parent, bool destination, std::string& path) {
    CFolderDlg dialog(destination, parent);
    dialog.m_strPath = path;
    if (dialog.DoModal() != QDialog::Accepted)
        return false;
    path = dialog.m_strPath;
    return true;
}

}  // namespace tt
