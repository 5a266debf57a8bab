#pragma once

#include <QDialog>
#include <memory>
#include <string>

class QPushButton;
class QTreeWidgetItem;

namespace tt {

class CShellTreeCtrl;
namespace shell {
struct Environment;
}

// The program's folder picker: the namespace as a tree, opened at a start folder.
// Only a folder with a file-system path can be chosen; virtual folders can be
// browsed. In destination mode it picks the folder that Copy+Rename copies into.
class CFolderDlg : public QDialog {
    Q_OBJECT

  public:
    // `environment` null: this machine and user.
    CFolderDlg(bool destination, QWidget* parent,
               std::shared_ptr<const shell::Environment> environment = nullptr);

    CShellTreeCtrl* m_tree;
    // In: the start folder. While shown: the selected item's path or empty. Out,
    // after OK: the chosen folder.
    std::string m_strPath;
    bool m_bDestination;

    // Shows the dialog modally; QDialog::Accepted on OK.
    int DoModal();

  protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;  // OK, Enter and the double click

  private:
    void OnInitDialog();
    void OnSelChanged();
    void OnDoubleClick(QTreeWidgetItem* item);
    void EnableOk();

    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_initialized = false;
};

}  // namespace tt
