#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/RenameEngine.h"

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

namespace tt {

class CFileListCtrl;
class CPathLabel;
class ProgressWindow;
class SingleInstance;

// Opens the folder picker: parent, destination mode, start folder going in and
// the chosen folder coming out; false on Cancel. The window uses PickFolder
// unless told otherwise (tests answer it directly).
using FolderPickFunction = std::function<bool(QWidget*, bool, std::string&)>;

// The main window: the list of old and new names of the chosen folder, the file
// type boxes and the commands. It holds the program's working state in its
// engine and is the engine's user interface: its questions, rows, view, progress
// and settings. Every way of closing it (Exit, Esc, the close box) saves the
// settings.
class CMainDlg : public QDialog,
                 public EngineQuestions,
                 public SongRows,
                 public ListViewHooks,
                 public ProgressAndStop,
                 public SettingSource {
    Q_OBJECT

  public:
    explicit CMainDlg(QWidget* parent = nullptr);
    // The engine works through `fs` (tests wrap the real file system).
    explicit CMainDlg(FileSystem& fs, QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Initialises the window and runs it until it closes.
    int DoModal();
    // Resolves the language, restores the settings and the placement. False when
    // the window could not be set up: it is then closed, and nothing is saved.
    bool OnInitDialog();

    // A folder named from outside (the command line, another start): listed as if
    // picked with "Select Folder". A path that is no folder is reported and nothing
    // changes. While the window is being set up, work runs or a dialog or question
    // of the program is open, the folder waits and is listed once they are over;
    // of several folders named meanwhile, the last one counts.
    void OpenGivenFolder(const std::string& folder);
    // The folder to list as soon as the window shows (the command line's); empty: none.
    void SetStartFolder(std::string folder) { m_strStartFolder = std::move(folder); }
    // Later starts of the program bring this window to the front and hand it their
    // folder.
    void FollowLaterStarts(SingleInstance& instance);

    void SetFolderPicker(FolderPickFunction pick) { m_pickFolder = std::move(pick); }
    RenameEngine& engine() { return m_engine; }
    const RenameEngine& engine() const { return m_engine; }
    CFileListCtrl* fileList() const { return m_listFiles; }
    ProgressWindow* progressWindow() const { return m_progress; }

    // --- undo and recovery (MainDlgUndo.cpp) ---
    // Where the journals are kept, and the trash (tests set their own before the
    // window initialises).
    void SetJournalFolder(std::string folder) { m_journalFolder = std::move(folder); }
    void SetTrash(std::unique_ptr<Trash> trash) { m_trash = std::move(trash); }
    // The list's context menu: its first item takes back the last operation on
    // the listed folder ("Undo Rename (12 files)"), disabled when there is none.
    QMenu* CreateListMenu();
    // Ctrl+Z: asks, then takes back the last operation on the listed folder.
    void OnUndo();
    // A stop signal: SIGINT, SIGTERM or SIGHUP.
    void OnStopSignal(int signal);

    // EngineQuestions
    void ReportReadError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    OverwriteAnswer AskOverwrite(const std::string& text) override;
    bool EditName(const std::string& oldName, std::string& name, std::string& ext) override;
    bool PickDestinationFolder(const std::string& startFolder, std::string& chosen) override;
    // SongRows
    void ClearRows() override;
    void AppendRows(std::int32_t count) override;
    std::vector<std::int32_t> SelectedRows() override;
    void DeselectRow(std::int32_t row) override;
    // ListViewHooks
    void RedrawList() override;
    void UpdateButtonStates() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    // ProgressAndStop
    void WorkStarted(EngineWork kind, std::int32_t total) override;
    void WorkProgress(std::int32_t done, std::int32_t total) override;
    bool StopRequested() override;
    void WorkEnded() override;
    // SettingSource
    std::string ReadSettingString(const std::string& key, const std::string& defaultValue) override;

  protected:
    void reject() override;  // Esc and the close box
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateControls();
    void CreateShortcuts();
    void SetGermanTexts();
    bool MeasureLayout();
    // true: controls into the working state; false: working state into the controls.
    void UpdateData(bool saveAndValidate);

    void OnSelectFolder();
    void OnFileTypeClicked(QCheckBox* turnOnWhenNoneLeft);
    void OnSelectAll();
    void OnReadFolderAgain();  // F5
    void OnRename();
    void OnCopyRename();
    void OnSave();
    void OnHelpButton();
    void OnCancel();
    void OnOK();
    bool ReadyForGivenFolder() const;
    // Lists the folder that waited for a dialog or work to end, when nothing else
    // is in the way now.
    void OpenWaitingFolder();
    // A folder picked or dropped becomes the listed folder.
    void TakeFolder(const std::string& folder);
    // What a question asked in the middle of work is opened over: the progress
    // window while it shows, so the question stays on top of it.
    QWidget* QuestionParent();

    void SetUpUndo();
    std::optional<JournalOperation> UndoableOperation();
    QString UndoMenuText();
    void ShowListMenu(const QPoint& globalPos);
    // Finishes what an interrupted run left half-done in `folder` and says what.
    void RecoverFolder(const std::string& folder);
    void CloseWhenIdle();

    RenameEngine m_engine;
    std::string m_journalFolder = DefaultJournalFolder();
    std::unique_ptr<Trash> m_trash;
    std::unique_ptr<OperationJournal> m_journal;
    int m_stoppedBy = 0;  // the signal that stopped the last work, not yet handled
    FolderPickFunction m_pickFolder;
    QString m_szStartDir;            // current folder at start: the help pages are looked up there
    std::string m_strStartFolder;    // named on the command line
    std::string m_strWaitingFolder;  // named by a later start while a dialog was open
    bool m_bFirstFolderPick = true;
    bool m_bInitialized = false;  // OnInitDialog has set the window up
    int m_nMarginLeft = 0;
    int m_nMarginTop = 0;
    int m_nMarginRight = 0;
    int m_nMarginBottom = 0;
    int m_nButtonGap = 0;
    bool m_bLayoutMeasured = false;  // the resize rule waits for the margins

    // Controls, owned through Qt's parent; each carries its id as objectName.
    CFileListCtrl* m_listFiles = nullptr;
    CPathLabel* m_folderText = nullptr;
    QCheckBox* m_midFiles = nullptr;
    QCheckBox* m_styFiles = nullptr;
    QCheckBox* m_patFiles = nullptr;
    QCheckBox* m_editNames = nullptr;
    QCheckBox* m_correspondingFiles = nullptr;
    QPushButton* m_selectFolder = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_copyRename = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_help = nullptr;
    QPushButton* m_exit = nullptr;
    ProgressWindow* m_progress = nullptr;  // hidden until work runs longer than a second
};

}  // namespace tt
