#include "ui/EditNameDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/MessageBoxes.h"
#include "app/UiLanguage.h"

namespace tt {

// Placeholder layout; the real dialog replaces it.
CEditNameDlg::CEditNameDlg(QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this)), m_ext(new QLabel(this)) {
    setWindowTitle(QString::fromUtf8(Tr("Edit Filename", "Dateiname ändern")));
    auto* row = new QHBoxLayout;
    row->addWidget(m_edit);
    row->addWidget(m_ext);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

int CEditNameDlg::DoModal() {
    m_edit->setText(m_strName);
    m_ext->setText(m_strExt);
    return exec();
}

void CEditNameDlg::accept() {
    m_strName = m_edit->text();
    if (m_strName.isEmpty()) {
        ShowWarningBox(this, QString::fromUtf8(Tr("Invalid filename!", "Ungültiger Dateiname!")));
        return;
    }
    QDialog::accept();
}

}  // namespace tt
