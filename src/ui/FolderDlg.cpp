#include "ui/FolderDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>

#include "desktop/DialogRules.h"
#include "desktop/DialogUnits.h"
#include "desktop/MessageBoxes.h"
#include "shell/ShellFolder.h"
#include "text/UiLanguage.h"
#include "ui/ShellTreeCtrl.h"

namespace tt {

CFolderDlg::CFolderDlg(bool destination, QWidget* parent,
                       std::shared_ptr<const shell::Environment> environment)
    : QDialog(parent),
      m_tree(new CShellTreeCtrl(this, environment)),
      m_bDestination(destination),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      m_pathLabel(new QLabel(this)),
      m_pathField(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Select Folder"));
    m_home = (environment ? environment : shell::Environment::System())->home;
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
    // The path field takes the top of the tree's place while it is open.
    m_pathLabel->setGeometry(units.Rect(4, 5, 32, 10));
    m_pathLabel->setBuddy(m_pathField);
    m_pathField->setObjectName(QStringLiteral("path"));
    m_pathField->setGeometry(units.Rect(36, 4, 233, 12));
    m_pathLabel->hide();
    m_pathField->hide();
    m_pathField->installEventFilter(this);
    for (QWidget* typedInto : {static_cast<QWidget*>(m_tree), static_cast<QWidget*>(m_ok),
                               static_cast<QWidget*>(m_cancel)})
        typedInto->installEventFilter(this);
    auto* openField = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(openField, &QShortcut::activated, this,
            [this]() { OpenPathField(PathFromCore(m_strPath), true); });
    setTabOrder(m_pathField, m_tree);
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
    m_pathLabel->setText(QString::fromUtf8(Tr("&Folder:", "&Ordner:")));
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

bool CFolderDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_pathField) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            GoToTypedPath();
            return true;  // Enter here selects; a second Enter in the tree is OK
        }
        if (key->key() == Qt::Key_Escape) {
            ClosePathField();
            return true;  // Esc closes the field, not the dialog
        }
        return false;
    }
    // A path begins with one of these: typed anywhere else, it opens the field.
    const QString text = key->text();
    if (text == QLatin1String("/") || text == QLatin1String("~")) {
        OpenPathField(text, false);
        return true;
    }
    return false;
}

void CFolderDlg::OpenPathField(const QString& text, bool select) {
    const DialogUnits units(font());
    m_tree->setGeometry(units.Rect(4, 19, 265, 187));
    m_pathLabel->show();
    m_pathField->show();
    m_pathField->setText(text);
    if (select)
        m_pathField->selectAll();
    else
        m_pathField->end(false);
    m_pathField->setFocus();
}

void CFolderDlg::ClosePathField() {
    m_pathLabel->hide();
    m_pathField->hide();
    m_tree->setGeometry(DialogUnits(font()).Rect(4, 4, 265, 202));
    m_tree->setFocus();
}

bool CFolderDlg::GoToTypedPath() {
    QString typed = m_pathField->text().trimmed();
    const QString home = PathFromCore(m_home);
    if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        typed = home + typed.mid(1);
    // A relative path is taken from the folder selected.
    const QString base = m_strPath.empty() ? home : PathFromCore(m_strPath);
    const QString path = QDir::cleanPath(QDir(base).absoluteFilePath(typed));
    const QFileInfo info(path);
    std::string found = PathToCore(path);
    const char* english = nullptr;
    const char* german = nullptr;
    if (typed.isEmpty() || !info.isDir()) {
        english = "This is not a folder:\n%1";
        german = "Das ist kein Ordner:\n%1";
    } else if (!m_tree->SelectPath(found)) {
        english = "This folder is not shown in the tree:\n%1";
        german = "Dieser Ordner wird im Baum nicht gezeigt:\n%1";
    }
    if (english != nullptr) {
        ShowWarningBox(this, QString::fromUtf8(Tr(english, german)).arg(path));
        m_pathField->setFocus();
        m_pathField->selectAll();
        return false;
    }
    ClosePathField();
    return true;
}

}  // namespace tt
