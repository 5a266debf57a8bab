// The main window's keys for its common commands. Each works wherever the focus
// is in the window and does what its button does; a key whose button is disabled
// does nothing. The buttons name their key in their tool tip.
#include <QAbstractButton>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <functional>

#include "ui/FileListCtrl.h"
#include "ui/MainDlg.h"

namespace tt {

void CMainDlg::CreateShortcuts() {
    struct Key {
        QKeySequence keys;
        QAbstractButton* button;        // the command's button, or null
        std::function<void()> command;  // for a command without a button of its own
    };
    const Key keys[] = {
        {QKeySequence(Qt::Key_F1), m_help, nullptr},
        {QKeySequence(Qt::Key_F5), nullptr, [this]() { OnReadFolderAgain(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_O), m_selectFolder, nullptr},
        // Selects every row, where the button would clear a full selection.
        {QKeySequence(Qt::CTRL | Qt::Key_A), nullptr,
         [this]() {
             m_listFiles->SelectAllItems();
             m_listFiles->setFocus();
         }},
        {QKeySequence(Qt::CTRL | Qt::Key_S), m_save, nullptr},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), m_exit, nullptr},
    };
    for (const Key& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        if (key.button != nullptr) {
            key.button->setToolTip(key.keys.toString(QKeySequence::NativeText));
            // click() does nothing while the button is disabled.
            connect(shortcut, &QShortcut::activated, key.button, &QAbstractButton::click);
        } else {
            connect(shortcut, &QShortcut::activated, this, key.command);
        }
    }
    m_selectAll->setToolTip(QKeySequence(Qt::CTRL | Qt::Key_A).toString(QKeySequence::NativeText));
}

void CMainDlg::OnReadFolderAgain() {
    UpdateData(true);
    if (!m_engine.folder().empty())
        m_engine.RefreshFileList();
    m_listFiles->setFocus();
}

}  // namespace tt
