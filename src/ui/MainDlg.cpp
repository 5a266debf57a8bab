#include "ui/MainDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <utility>

#include "desktop/AppIcon.h"
#include "desktop/DialogUnits.h"
#include "desktop/MainWindowTitle.h"
#include "desktop/MessageBoxes.h"
#include "desktop/ScreenFit.h"
#include "desktop/SettingsStore.h"
#include "desktop/SingleInstance.h"
#include "desktop/WidenToText.h"
#include "text/UiLanguage.h"
#include "ui/FileListCtrl.h"
#include "ui/LanguageDlg.h"
#include "ui/PathLabel.h"
#include "ui/PickFolder.h"
#include "ui/ProgressWindow.h"
#include "ui/WindowPlacement.h"

namespace tt {

namespace {

// Layout in dialog units: x, y, width, height.
struct Box {
    int x, y, width, height;
};

// The window's client size in dialog units.
constexpr Box kWindow{0, 0, 366, 255};

// The list asks the engine for a row's texts whenever it paints the row.
bool RowTexts(int row, std::intptr_t /*itemData*/, int columns, std::string* texts, void* context) {
    if (columns < 2)
        return false;
    return static_cast<const CMainDlg*>(context)->engine().GetRowTexts(row, texts);
}

// Stored check box values: anything but 0 is on.
bool ReadFlag(const char* key) {
    return settings::ReadInt(QString::fromLatin1(key), 1) != 0;
}

// What a file manager drops: one local folder, or local files of one folder.
struct Dropped {
    QString folder;            // empty: nothing this window takes
    QStringList files;         // the names of the files dropped, when files were
    bool manyFolders = false;  // several folders, or files of several folders
};

Dropped DroppedItems(const QMimeData* data) {
    Dropped dropped;
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty())
        return dropped;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            return {};
        const QFileInfo info(url.toLocalFile());
        if (!info.exists())
            return {};
        if (info.isDir() && urls.size() > 1)
            dropped.manyFolders = true;  // a folder is taken only alone
        const QString folder =
            QDir::cleanPath(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
        if (!dropped.folder.isEmpty() && folder != dropped.folder)
            dropped.manyFolders = true;
        dropped.folder = folder;
        if (!info.isDir())
            dropped.files << info.fileName();
    }
    return dropped;
}

}  // namespace

CMainDlg::CMainDlg(QWidget* parent) : CMainDlg(SystemFileSystem(), parent) {}

CMainDlg::CMainDlg(FileSystem& fs, QWidget* parent)
    : QDialog(parent),
      m_engine(
          fs,
          {.questions = *this, .rows = *this, .progress = this, .view = this, .settings = this}),
      m_pickFolder(PickFolder) {
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    // The constructor starts with every check box off; the settings fill them in
    // while the window initialises.
    m_engine.SetFileTypes(false, false, false);
    m_engine.SetEditNames(false);
    m_engine.SetCorrespondingFiles(false);
    CreateControls();
    CreateShortcuts();
    KeepOnScreen(*this);
    // Enter is ignored anywhere in this window, so it is caught before any control.
    qApp->installEventFilter(this);
}

CMainDlg::~CMainDlg() {
    // The list outlives this part of the window while Qt takes the children
    // down: it must not ask the engine for texts any more.
    m_listFiles->ClearConfiguration();
    qApp->removeEventFilter(this);
}

void CMainDlg::CreateControls() {
    const DialogUnits du(font());
    resize(du.Size(kWindow.width, kWindow.height));
    auto place = [&](QWidget* widget, const char* id, Box box) {
        widget->setObjectName(QString::fromLatin1(id));
        widget->setGeometry(du.Rect(box.x, box.y, box.width, box.height));
    };
    auto text = [](const char* utf8) { return QString::fromUtf8(utf8); };

    // Below the check boxes it frames, so it comes first.
    auto* files = new QGroupBox(text("Files"), this);
    files->setGeometry(du.Rect(3, 6, 41, 42));

    m_midFiles = new QCheckBox(text("*.mid"), this);
    place(m_midFiles, "1007", {10, 15, 31, 10});
    m_styFiles = new QCheckBox(text("*.sty"), this);
    place(m_styFiles, "1008", {10, 25, 29, 10});
    m_patFiles = new QCheckBox(text("*.pat"), this);
    place(m_patFiles, "1009", {10, 34, 31, 10});
    m_selectFolder = new QPushButton(text("Select Folder"), this);
    place(m_selectFolder, "1000", {53, 20, 56, 14});
    m_folderText = new CPathLabel(this);
    place(m_folderText, "1001", {113, 21, 248, 12});
    m_folderText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_folderText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_correspondingFiles =
        new QCheckBox(text("Rename all corresponding files with same name (lyrics, ...)"), this);
    place(m_correspondingFiles, "1015", {55, 37, 263, 10});
    m_listFiles = new CFileListCtrl(this);
    place(m_listFiles, "1002", {4, 51, 359, 186});
    m_selectAll = new QPushButton(text("Select All"), this);
    place(m_selectAll, "1060", {4, 240, 56, 14});
    m_editNames = new QCheckBox(text("Edit"), this);
    place(m_editNames, "1061", {65, 240, 48, 14});
    m_editNames->setLayoutDirection(Qt::RightToLeft);  // text left of the box
    m_rename = new QPushButton(text("Rename"), this);
    place(m_rename, "1062", {120, 240, 56, 14});
    m_copyRename = new QPushButton(text("Copy+Rename"), this);
    place(m_copyRename, "1063", {179, 240, 56, 14});
    m_save = new QPushButton(text("Save"), this);
    place(m_save, "1064", {238, 240, 43, 14});
    m_help = new QPushButton(text("Help"), this);
    place(m_help, "1065", {284, 240, 38, 14});
    m_exit = new QPushButton(text("Exit"), this);
    place(m_exit, "1066", {325, 240, 38, 14});
    for (QPushButton* button :
         {m_selectFolder, m_selectAll, m_rename, m_copyRename, m_save, m_help, m_exit})
        button->setAutoDefault(false);
    m_exit->setDefault(true);
    WidenToText(m_correspondingFiles);

    auto* version = new QLabel(
        QStringLiteral("Tunetitler %1\nQuillmoor").arg(QStringLiteral(TUNETITLER_VERSION)), this);
    version->setGeometry(du.Rect(58, 1, 301, 17));
    version->setAlignment(Qt::AlignRight | Qt::AlignTop);

    QWidget* tabOrder[] = {
        m_midFiles,  m_styFiles,  m_patFiles,  m_selectFolder, m_correspondingFiles,
        m_listFiles, m_selectAll, m_editNames, m_rename,       m_copyRename,
        m_save,      m_help,      m_exit};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(m_selectFolder, &QPushButton::clicked, this, &CMainDlg::OnSelectFolder);
    connect(m_midFiles, &QCheckBox::clicked, this, [this]() { OnFileTypeClicked(m_styFiles); });
    connect(m_styFiles, &QCheckBox::clicked, this, [this]() { OnFileTypeClicked(m_midFiles); });
    connect(m_patFiles, &QCheckBox::clicked, this, [this]() { OnFileTypeClicked(m_midFiles); });
    connect(m_selectAll, &QPushButton::clicked, this, &CMainDlg::OnSelectAll);
    connect(m_rename, &QPushButton::clicked, this, &CMainDlg::OnRename);
    connect(m_copyRename, &QPushButton::clicked, this, &CMainDlg::OnCopyRename);
    connect(m_save, &QPushButton::clicked, this, &CMainDlg::OnSave);
    connect(m_help, &QPushButton::clicked, this, &CMainDlg::OnHelpButton);
    connect(m_exit, &QPushButton::clicked, this, &CMainDlg::OnCancel);
    connect(m_listFiles, &CFileListCtrl::itemChanged, this, &CMainDlg::UpdateButtonStates);

    m_progress = new ProgressWindow(this);
}

void CMainDlg::SetGermanTexts() {
    const std::pair<QWidget*, const char*> texts[] = {
        {m_selectFolder, "Ordner wählen"},
        {m_correspondingFiles,
         "Zugehörige Dateien mit gleichem Namen ebenfalls umbenennen (Lyrics,...)"},
        {m_selectAll, "Alle auswählen"},
        {m_editNames, "Editieren"},
        {m_rename, "Umbenennen"},
        {m_copyRename, "Kop.+Umben."},
        {m_save, "Speichern"},
        {m_help, "Hilfe"},
        {m_exit, "Ende"},
    };
    for (const auto& [widget, german] : texts) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(QString::fromUtf8(german));
    }
    WidenToText(m_correspondingFiles);
}

int CMainDlg::DoModal() {
    if (!OnInitDialog())
        return QDialog::Rejected;
    // A later start that named a folder while the language was asked for wins.
    if (!m_strWaitingFolder.empty())
        m_strStartFolder = std::exchange(m_strWaitingFolder, std::string());
    // Listed once the window shows, so that a message or the progress window has
    // the window to show over.
    if (!m_strStartFolder.empty())
        QTimer::singleShot(0, this, [this]() { OpenGivenFolder(m_strStartFolder); });
    return exec();
}

void CMainDlg::FollowLaterStarts(SingleInstance& instance) {
    connect(&instance, &SingleInstance::raiseRequested, this,
            [this]() { RaiseProgramWindows(this); });
    connect(&instance, &SingleInstance::folderRequested, this,
            [this](const QByteArray& folder) { OpenGivenFolder(folder.toStdString()); });
}

bool CMainDlg::OnInitDialog() {
    setWindowIcon(AppIcon());
    m_szStartDir = QDir::currentPath();
    ResolveUiLanguage();
    const settings::Batch batch;  // the file is read once for all the keys below
    m_engine.SetFileTypes(ReadFlag("MidFiles"), ReadFlag("StyFiles"), ReadFlag("PatFiles"));
    m_engine.SetCorrespondingFiles(ReadFlag("CorrespondingFiles"));

    m_listFiles->Configure(2, RowTexts, this, 4, true, true);
    bool failed = !m_listFiles->InsertColumn(
                      0, QString::fromUtf8(Tr("Old Filename", "Alter Dateiname")), 200) ||
                  !m_listFiles->InsertColumn(
                      1, QString::fromUtf8(Tr("New Filename", "Neuer Dateiname")), 335);
    if (!MeasureLayout())
        failed = true;
    if (CurrentUiLanguage() == UiLanguage::german)
        SetGermanTexts();
    // For screen readers: the list has no text of its own.
    m_listFiles->setAccessibleName(QString::fromUtf8(Tr("Song files", "Songdateien")));
    RestoreWindowPlacement(*this);
    UpdateButtonStates();
    UpdateData(false);
    if (failed) {
        // Closed at once, without saving anything and without a message.
        QDialog::done(QDialog::Rejected);
        return false;
    }
    SetUpUndo();
    m_listFiles->setFocus();
    m_bInitialized = true;
    return true;
}

bool CMainDlg::MeasureLayout() {
    if (m_listFiles == nullptr || m_selectAll == nullptr)
        return false;
    const QRect list = m_listFiles->geometry();
    m_nMarginLeft = list.left();
    m_nMarginTop = list.top();
    m_nMarginRight = width() - (list.x() + list.width());
    m_nMarginBottom = height() - (list.y() + list.height());
    m_nButtonGap = m_selectAll->y() - (list.y() + list.height());
    m_bLayoutMeasured = true;
    return true;
}

void CMainDlg::UpdateData(bool saveAndValidate) {
    if (saveAndValidate) {
        m_engine.SetFileTypes(m_midFiles->isChecked(), m_styFiles->isChecked(),
                              m_patFiles->isChecked());
        m_engine.SetEditNames(m_editNames->isChecked());
        m_engine.SetCorrespondingFiles(m_correspondingFiles->isChecked());
        return;
    }
    m_folderText->SetPath(PathFromCore(m_engine.folder()));
    m_midFiles->setChecked(m_engine.midFiles());
    m_styFiles->setChecked(m_engine.styFiles());
    m_patFiles->setChecked(m_engine.patFiles());
    m_editNames->setChecked(m_engine.editNames());
    m_correspondingFiles->setChecked(m_engine.correspondingFiles());
}

void CMainDlg::UpdateButtonStates() {
    const SongFileList& songs = m_engine.songFiles();
    m_selectAll->setEnabled(songs.count() > 0);
    bool titled = false;
    for (const std::int32_t row : m_listFiles->GetSelectedItems()) {
        if (songs.IsValidIndex(row) && songs.ElementAt(row).titleFound) {
            titled = true;
            break;
        }
    }
    m_rename->setEnabled(titled);
    m_copyRename->setEnabled(titled);
    m_save->setEnabled(songs.count() > 0);
}

void CMainDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!m_bLayoutMeasured)
        return;  // the window is still being set up
    const int left = m_nMarginLeft;
    const int top = m_nMarginTop;
    const int listWidth = width() - m_nMarginRight - left;
    const int listBottom = height() - m_nMarginBottom;
    const int listHeight = listBottom - top;
    if (listWidth <= 0 || listHeight <= 0)
        return;  // too small (or minimised): everything stays where it is
    m_listFiles->resize(listWidth, listHeight);
    // The bottom row follows the list down; nothing follows the right edge.
    for (QWidget* control : {static_cast<QWidget*>(m_selectAll), static_cast<QWidget*>(m_editNames),
                             static_cast<QWidget*>(m_rename), static_cast<QWidget*>(m_copyRename),
                             static_cast<QWidget*>(m_save), static_cast<QWidget*>(m_help),
                             static_cast<QWidget*>(m_exit)})
        control->move(control->x(), listBottom + m_nButtonGap);
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->window() == this)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CMainDlg::event(QEvent* event) {
    // A modal dialog or question has closed: a folder that waited for it is due.
    if (event->type() == QEvent::WindowUnblocked)
        QTimer::singleShot(0, this, &CMainDlg::OpenWaitingFolder);
    return QDialog::event(event);
}

void CMainDlg::dragEnterEvent(QDragEnterEvent* event) {
    // No new folder while work runs: the work is still using the list.
    if (!m_progress->IsWorking() && !DroppedItems(event->mimeData()).folder.isEmpty())
        event->acceptProposedAction();
}

void CMainDlg::dropEvent(QDropEvent* event) {
    const Dropped dropped = DroppedItems(event->mimeData());
    if (dropped.folder.isEmpty() || m_progress->IsWorking())
        return;
    event->acceptProposedAction();
    if (dropped.manyFolders) {
        // Told once the drop is over: the file manager waits for it to end.
        QTimer::singleShot(0, this, [this]() {
            ShowWarningBox(this,
                           QString::fromUtf8(
                               Tr("Please drop one folder, or files of one folder only.",
                                  "Bitte einen Ordner oder nur Dateien eines Ordners ablegen.")));
        });
        return;
    }
    UpdateData(true);
    TakeFolder(PathToCore(dropped.folder));
    // The rows of the files dropped are selected, ready for Rename.
    const SongFileList& songs = m_engine.songFiles();
    for (std::int32_t row = 0; row < songs.count() && !dropped.files.isEmpty(); ++row) {
        if (dropped.files.contains(PathFromCore(songs.ElementAt(row).fileName)))
            m_listFiles->SelectItem(row);
    }
    m_listFiles->setFocus();
}

}  // namespace tt
