#include "ui/FolderDlg.h"

#include <QPushButton>
#include <QShowEvent>

#include "desktop/DialogRules.h"
#include "desktop/DialogUnits.h"
#include "shell/ShellFolder.h"
#include "text/UiLanguage.h"
#include "ui/ShellTreeCtrl.h"

namespace tt {

CFolderDlg::CFolderDlg(bool destination, QWidget* parent,
                       std::shared_ptr<const shell::Environment> environment)
    : QDialog(parent),
      m_tree(new CShellTreeCtrl(this, std::move(environment))),
      m_bDestination(destination),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Select Folder"));
    const DialogUnits units(font());
    setFixedSize(units.Size(273, 230));
    m_ok->setObjectName(QStringLiteral("1"));
    m_ok->setGeometry(units.Rect(82, 211, 50, 14));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("2"));
    m_cancel->setGeometry(units.Rect(140, 211, 50, 14));
    m_tree->setObjectName(QStringLiteral("1011"));
    m_tree->setGeometry(units.Rect(4, 4, 265, 202));
    m_tree->setExpandsOnDoubleClick(false);  // the double click decides itself
    setTabOrder(m_tree, m_ok);
    setTabOrder(m_ok, m_cancel);
    // Enter on a focused Cancel cancels; from the tree it is OK.
    ApplyDialogRules(*this);

    connect(m_ok, &QPushButton::clicked, this, &CFolderDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CFolderDlg::reject);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CFolderDlg::OnSelChanged);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &CFolderDlg::OnDoubleClick);
}

int CFolderDlg::DoModal() {
    return exec();
}

void CFolderDlg::showEvent(QShowEvent* event) {
    if (!m_initialized) {
        m_initialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CFolderDlg::OnInitDialog() {
    if (m_bDestination)
        setWindowTitle(QString::fromUtf8(Tr("Select Destination Folder", "Zielordner wählen")));
    else
        setWindowTitle(QString::fromUtf8(Tr("Select Folder", "Ordner wählen")));
    m_ok->setEnabled(false);
    m_cancel->setText(QString::fromUtf8(Tr("Cancel", "Abbrechen")));
    m_tree->Populate(m_strPath);
    OnSelChanged();
    m_tree->setFocus();
}

void CFolderDlg::EnableOk() {
    m_ok->setEnabled(!m_strPath.empty());
}

void CFolderDlg::OnSelChanged() {
    m_tree->GetSelectedPath(m_strPath);
    EnableOk();
}

void CFolderDlg::OnDoubleClick(QTreeWidgetItem* item) {
    if (item == nullptr)
        return;
    // A folder without subfolders is the one wanted; any other opens or closes.
    // Hidden folders count here, so a folder holding only those still toggles.
    if (m_tree->GetSelectedPath(m_strPath) && !m_strPath.empty() &&
        !shell::HasSubfolders(m_strPath, true)) {
        accept();
        return;
    }
    EnableOk();
    item->setExpanded(!item->isExpanded());
}

void CFolderDlg::accept() {
    if (m_strPath.empty())
        return;  // a virtual folder cannot be chosen; the dialog stays open
    QDialog::accept();
}

}  // namespace tt
