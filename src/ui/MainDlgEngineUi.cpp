// The main window as the engine's user interface: message boxes owned by the
// window, the edit dialog, the destination picker, the settings, the list and
// the progress window.
#include <QApplication>
#include <QCursor>
#include <QTimer>

#include "desktop/MessageBoxes.h"
#include "desktop/SettingsStore.h"
#include "desktop/StopSignals.h"
#include "ui/EditNameDlg.h"
#include "ui/FileListCtrl.h"
#include "ui/MainDlg.h"
#include "ui/ProgressWindow.h"

namespace tt {

namespace {

// The engine asks the user in the middle of its work, while the wait cursor
// shows. A box or dialog waiting for an answer gets the normal pointer.
class NormalCursor {
  public:
    NormalCursor() { QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;
    ~NormalCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

QWidget* CMainDlg::QuestionParent() {
    return m_progress->isVisible() ? static_cast<QWidget*>(m_progress) : this;
}

void CMainDlg::ReportReadError(const std::string& text) {
    ShowWarning(text);
}

void CMainDlg::ShowWarning(const std::string& text) {
    const NormalCursor cursor;
    const ProgressWindow::Pause pause(*m_progress);
    ShowWarningBox(QuestionParent(), FromCore(text));
}

OverwriteAnswer CMainDlg::AskOverwrite(const std::string& text) {
    const NormalCursor cursor;
    const ProgressWindow::Pause pause(*m_progress);
    return AskOverwriteBox(QuestionParent(), FromCore(text));
}

bool CMainDlg::EditName(const std::string& oldName, std::string& name, std::string& ext) {
    const NormalCursor cursor;
    const ProgressWindow::Pause pause(*m_progress);
    CEditNameDlg dialog(QuestionParent());
    dialog.m_strOldName = PathFromCore(oldName);
    dialog.m_strName = PathFromCore(name);
    dialog.m_strExt = PathFromCore(ext);
    if (dialog.DoModal() != QDialog::Accepted)
        return false;
    name = PathToCore(dialog.m_strName);
    ext = PathToCore(dialog.m_strExt);
    return true;
}

bool CMainDlg::PickDestinationFolder(const std::string& startFolder, std::string& chosen) {
    const NormalCursor cursor;
    std::string folder = startFolder;
    if (!m_pickFolder(this, true, folder))
        return false;
    chosen = folder;
    return true;
}

std::string CMainDlg::ReadSettingString(const std::string& key, const std::string& defaultValue) {
    const QString value = settings::ReadString(FromCore(key), PathFromCore(defaultValue));
    // The stored strings are folders: back to the bytes the file system knows.
    return PathToCore(value);
}

void CMainDlg::ClearRows() {
    m_listFiles->DeleteAllItems();
}

void CMainDlg::AppendRows(std::int32_t count) {
    m_listFiles->AppendItems(count);
}

std::vector<std::int32_t> CMainDlg::SelectedRows() {
    return m_listFiles->GetSelectedItems();
}

void CMainDlg::DeselectRow(std::int32_t row) {
    m_listFiles->DeselectItem(row);
}

void CMainDlg::RedrawList() {
    m_listFiles->RedrawItems();
}

void CMainDlg::BeginWaitCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CMainDlg::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void CMainDlg::WorkStarted(EngineWork kind, std::int32_t total) {
    m_progress->Begin(kind, total);
}

void CMainDlg::WorkProgress(std::int32_t done, std::int32_t total) {
    m_progress->Step(done, total);
}

bool CMainDlg::StopRequested() {
    if (const int signal = StopSignals::Pending()) {
        m_stoppedBy = signal;  // a Ctrl-C that stopped work does not close the window
        return true;
    }
    return m_progress->StopRequested();
}

void CMainDlg::WorkEnded() {
    m_progress->End();
    // Once the command that ran the work is over, a folder that waited is due.
    QTimer::singleShot(0, this, &CMainDlg::OpenWaitingFolder);
}

}  // namespace tt
