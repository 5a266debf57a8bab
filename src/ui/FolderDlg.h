#pragma once

#include <QDialog>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
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
// Typing '/' or '~', or Ctrl+L, opens a field above the tree to type a folder's
// path in: Enter selects that folder in the tree, Esc closes the field.
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

    // Opens the path field holding `text` (all of it selected when `select`).
    void OpenPathField(const QString& text, bool select);
    // Selects the folder typed in the path field in the tree and closes the field;
    // a path that is no folder, or one the tree cannot show, is reported and the
    // field stays open. False then.
    bool GoToTypedPath();
    QLineEdit* pathField() const { return m_pathField; }

  protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;  // OK, Enter and the double click
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnInitDialog();
    void OnSelChanged();
    void OnDoubleClick(QTreeWidgetItem* item);
    void EnableOk();
    void ClosePathField();

    QPushButton* m_ok;
    QPushButton* m_cancel;
    QLabel* m_pathLabel;
    QLineEdit* m_pathField;
    std::string m_home;  // what '~' stands for
    bool m_initialized = false;
};

}  // namespace tt
