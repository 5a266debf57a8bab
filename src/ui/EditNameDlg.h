#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QLabel;
class QPushButton;

namespace tt {

// Lets the user change the base of one new name just before its file is renamed
// or copied; the extension is shown beside it and cannot be changed. The name
// must be a plain file name (CheckEditedName); the file's old name is shown above.
// Controls carry their ids as object names: edit box "1008", extension "1014",
// label "1011", OK "1", Cancel "2", old name "oldName".
class CEditNameDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CEditNameDlg(QWidget* parent = nullptr);

    QString m_strName;     // the new name without its extension
    QString m_strExt;      // the extension, dot included
    QString m_strOldName;  // the name the file has now (shown, not edited)

    // Shows the fields and runs the dialog modally; QDialog::Accepted on OK, when
    // m_strName holds the edited base.
    int DoModal();

  protected:
    // OK or Enter: refuses a name that is no plain file name with a message and
    // stays open.
    void accept() override;

  private:
    QLineEdit* m_edit;
    QLabel* m_ext;
    QLabel* m_oldName;
};

}  // namespace tt
