#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QLabel;

namespace tt {

// Lets the user change the base of one new name just before its file is renamed
// or copied; the extension is shown beside it and cannot be changed. The base
// must not be empty.
class CEditNameDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CEditNameDlg(QWidget* parent = nullptr);

    QString m_strName;  // the new name without its extension
    QString m_strExt;   // the extension, dot included

    // Shows the dialog modally; QDialog::Accepted on OK.
    int DoModal();

  protected:
    void accept() override;

  private:
    QLineEdit* m_edit;
    QLabel* m_ext;
};

}  // namespace tt
