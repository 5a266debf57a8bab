// The main window's undo (Ctrl+Z and the list's context menu), the recovery of an
// operation left half-done in a folder when it is listed, and the stop signals.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>
#include <csignal>

#include "desktop/DialogRules.h"
#include "desktop/MessageBoxes.h"
#include "desktop/StopSignals.h"
#include "engine/Recovery.h"
#include "engine/Undo.h"
#include "platform/FileError.h"
#include "shell/SystemTrash.h"
#include "text/UiLanguage.h"
#include "ui/FileListCtrl.h"
#include "ui/MainDlg.h"
#include "ui/ProgressWindow.h"

namespace tt {

namespace {

QString Joined(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + FromCore(line);
    return text;
}

}  // namespace

void CMainDlg::SetUpUndo() {
    if (!m_trash)
        m_trash = std::make_unique<SystemTrash>();
    m_journal = std::make_unique<OperationJournal>(m_engine.fileSystem(), m_journalFolder);
    m_engine.SetJournal(m_journal.get(), m_trash.get());

    auto* undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, &CMainDlg::OnUndo);
    m_listFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowListMenu(m_listFiles->viewport()->mapToGlobal(pos)); });
    // The Menu key reaches the list as a context menu request; Shift+F10 does too.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), m_listFiles);
    menuKey->setContext(Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this,
            [this]() { ShowListMenu(m_listFiles->mapToGlobal(m_listFiles->rect().center())); });

    auto* stopSignals = new StopSignals(this);
    connect(stopSignals, &StopSignals::received, this, &CMainDlg::OnStopSignal);
}

std::optional<JournalOperation> CMainDlg::UndoableOperation() {
    if (m_engine.folder().empty())
        return std::nullopt;
    return LastUndoableOperation(m_engine.fileSystem(), m_journalFolder, m_engine.folder());
}

QString CMainDlg::UndoMenuText() {
    const std::optional<JournalOperation> op = UndoableOperation();
    if (!op)
        return QString::fromUtf8(Tr("Nothing to undo",
                                    "Nichts r\xC3\xBC"
                                    "ckg\xC3\xA4ngig zu machen"));
    const int files = op->FilesToUndo();
    const QString count = files == 1 ? QString::fromUtf8(Tr("1 file", "1 Datei"))
                                     : QString::fromUtf8(Tr("%1 files", "%1 Dateien")).arg(files);
    return (op->copy ? QString::fromUtf8(Tr("Undo Copy (%1)",
                                            "Kopieren r\xC3\xBC"
                                            "ckg\xC3\xA4ngig (%1)"))
                     : QString::fromUtf8(Tr("Undo Rename (%1)",
                                            "Umbenennen r\xC3\xBC"
                                            "ckg\xC3\xA4ngig (%1)")))
        .arg(count);
}

QMenu* CMainDlg::CreateListMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ListMenu"));
    QAction* undo = menu->addAction(UndoMenuText(), this, &CMainDlg::OnUndo);
    undo->setObjectName(QStringLiteral("UndoAction"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(UndoableOperation().has_value() && !m_progress->IsWorking());
    return menu;
}

void CMainDlg::ShowListMenu(const QPoint& globalPos) {
    QMenu* menu = CreateListMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void CMainDlg::OnUndo() {
    if (m_progress->IsWorking())
        return;
    UpdateData(true);
    const std::optional<JournalOperation> op = UndoableOperation();
    if (!op)
        return;
    const int files = op->FilesToUndo();
    const QString question =
        (op->copy ? QString::fromUtf8(Tr("Undo the copy of %1 files from '%2'?\n\n"
                                         "The copies are moved to the trash.",
                                         "Das Kopieren von %1 Dateien aus '%2' "
                                         "r\xC3\xBC"
                                         "ckg\xC3\xA4ngig machen?\n\n"
                                         "Die Kopien werden in den Papierkorb verschoben."))
                  : QString::fromUtf8(Tr("Undo the renaming of %1 files in '%2'?",
                                         "Das Umbenennen von %1 Dateien in '%2' "
                                         "r\xC3\xBC"
                                         "ckg\xC3\xA4ngig machen?")))
            .arg(files)
            .arg(PathFromCore(m_engine.folder()));
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), question,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("UndoQuestion"));
    box.setDefaultButton(QMessageBox::No);
    ApplyDialogRules(box);
    if (box.exec() != QMessageBox::Yes) {
        m_listFiles->setFocus();
        return;
    }
    try {
        const UndoOutcome outcome = UndoLastOperation(m_engine.fileSystem(), m_trash.get(),
                                                      m_journalFolder, m_engine.folder());
        if (!outcome.problems.empty())
            ShowWarningBox(this, QString::fromUtf8(Tr("Not every file could be taken back:",
                                                      "Nicht jede Datei konnte zur\xC3\xBC"
                                                      "ckgeholt werden:")) +
                                     QStringLiteral("\n\n") + Joined(outcome.problems));
    } catch (const FileError& error) {
        ShowWarningBox(this, FromCore(error.StandardText()));
    }
    m_engine.RefreshFileList();
    UpdateButtonStates();
    m_listFiles->setFocus();
}

void CMainDlg::RecoverFolder(const std::string& folder) {
    const std::vector<std::string> report =
        RecoverInterruptedOperations(m_engine.fileSystem(), m_trash.get(), m_journalFolder, folder);
    if (!report.empty())
        ShowWarningBox(this, Joined(report));
}

void CMainDlg::OnStopSignal(int signal) {
    // Work stops at the next file boundary, as with Cancel; a question it asks is
    // answered Cancel. SIGTERM and SIGHUP (the session ends) then close the window
    // as Exit does; so does Ctrl-C when no work runs.
    const bool working = m_progress->IsWorking();
    const bool stoppedWork = working || m_stoppedBy == signal;
    m_stoppedBy = 0;
    if (working)
        QMetaObject::invokeMethod(m_progress, "reject");
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this && modal != m_progress)
        modal->close();
    if (signal == SIGINT && stoppedWork)
        return;
    CloseWhenIdle();
}

void CMainDlg::CloseWhenIdle() {
    QWidget* modal = QApplication::activeModalWidget();
    if (m_progress->IsWorking() || (modal && modal != this)) {
        if (modal && modal != this && modal != m_progress)
            modal->close();
        QTimer::singleShot(20, this, &CMainDlg::CloseWhenIdle);
        return;
    }
    OnCancel();
}

}  // namespace tt
