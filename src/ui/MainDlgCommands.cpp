// The main window's commands. Each reads the check boxes into the working state
// first and gives the keyboard focus back to the list when done.
#include <QApplication>
#include <QCheckBox>
#include <utility>

#include "desktop/HelpPage.h"
#include "desktop/MessageBoxes.h"
#include "desktop/SettingsStore.h"
#include "text/UiLanguage.h"
#include "ui/FileListCtrl.h"
#include "ui/MainDlg.h"
#include "ui/PathLabel.h"
#include "ui/ProgressWindow.h"
#include "ui/SaveNamesDlg.h"
#include "ui/WindowPlacement.h"

namespace tt {

void CMainDlg::TakeFolder(const std::string& folder) {
    RecoverFolder(folder);
    m_engine.SetFolder(folder);
    m_bFirstFolderPick = false;
    m_engine.RefreshFileList();
    UpdateData(false);
}

bool CMainDlg::ReadyForGivenFolder() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return m_bInitialized && !m_progress->IsWorking() && (modal == nullptr || modal == this);
}

void CMainDlg::OpenGivenFolder(const std::string& folder) {
    if (!ReadyForGivenFolder()) {
        // The user is in a dialog or a question, or work runs: the folder waits
        // until they are over. A later request replaces it.
        m_strWaitingFolder = folder;
        return;
    }
    const std::optional<FileInfo> info = m_engine.fileSystem().Stat(folder);
    if (!info || !info->isDirectory) {
        ShowWarningBox(
            this, QString::fromUtf8(Tr("This is not a folder:\n%1", "Das ist kein Ordner:\n%1"))
                      .arg(PathFromCore(folder)));
        return;
    }
    UpdateData(true);
    TakeFolder(folder);
    m_listFiles->setFocus();
}

void CMainDlg::OpenWaitingFolder() {
    if (m_strWaitingFolder.empty() || !ReadyForGivenFolder())
        return;
    OpenGivenFolder(std::exchange(m_strWaitingFolder, std::string()));
}

void CMainDlg::OnSelectFolder() {
    UpdateData(true);
    std::string folder = m_bFirstFolderPick
                             ? PathToCore(settings::ReadString(QStringLiteral("Folder"), QString()))
                             : m_engine.folder();
    if (m_pickFolder(this, false, folder))
        TakeFolder(folder);
    m_listFiles->setFocus();
}

// A file type box was clicked: at least one type stays on (the other box named
// here is turned on when the click cleared the last one), and the folder is read
// again for the types now chosen.
void CMainDlg::OnFileTypeClicked(QCheckBox* turnOnWhenNoneLeft) {
    UpdateData(true);
    if (!m_engine.midFiles() && !m_engine.styFiles() && !m_engine.patFiles()) {
        turnOnWhenNoneLeft->setChecked(true);
        UpdateData(true);
    }
    m_engine.RefreshFileList();
    m_listFiles->setFocus();
}

void CMainDlg::OnSelectAll() {
    if (m_listFiles->GetSelectedCount() == m_listFiles->GetItemCount())
        m_listFiles->DeselectAllItems();
    else
        m_listFiles->SelectAllItems();
    m_listFiles->setFocus();
}

void CMainDlg::OnRename() {
    UpdateData(true);
    m_engine.RenameSelectedFiles(false);
    m_folderText->SetPath(PathFromCore(m_engine.folder()));  // dropped when it was gone
    UpdateButtonStates();
    m_listFiles->setFocus();
}

void CMainDlg::OnCopyRename() {
    UpdateData(true);
    m_engine.RenameSelectedFiles(true);
    m_folderText->SetPath(PathFromCore(m_engine.folder()));  // dropped when it was gone
    UpdateButtonStates();
    m_listFiles->setFocus();
}

void CMainDlg::OnSave() {
    CSaveNamesDlg dialog(m_engine.songFiles(), this);
    dialog.m_strListedFolder = m_engine.folder();
    dialog.DoModal();
    m_listFiles->setFocus();
}

void CMainDlg::OnHelpButton() {
    const QString page = FindHelpPage(m_szStartDir, CurrentUiLanguage() == UiLanguage::german);
    if (!page.isEmpty())
        OpenHelpPage(this, page);
    m_listFiles->setFocus();
}

void CMainDlg::reject() {
    OnCancel();
}

void CMainDlg::OnCancel() {
    // Every way of closing saves the settings.
    OnOK();
}

void CMainDlg::OnOK() {
    UpdateData(true);
    const settings::Batch batch;  // one rewrite of the file for all the keys
    SaveWindowPlacement(*this);
    // Folders not chosen in this run leave the stored ones alone.
    if (!m_engine.folder().empty())
        settings::WriteString(QStringLiteral("Folder"), PathFromCore(m_engine.folder()));
    if (!m_engine.destFolder().empty())
        settings::WriteString(QStringLiteral("DestinationFolder"),
                              PathFromCore(m_engine.destFolder()));
    settings::WriteInt(QStringLiteral("MidFiles"), m_engine.midFiles() ? 1 : 0);
    settings::WriteInt(QStringLiteral("StyFiles"), m_engine.styFiles() ? 1 : 0);
    settings::WriteInt(QStringLiteral("PatFiles"), m_engine.patFiles() ? 1 : 0);
    settings::WriteInt(QStringLiteral("CorrespondingFiles"), m_engine.correspondingFiles() ? 1 : 0);
    QDialog::accept();
}

}  // namespace tt
