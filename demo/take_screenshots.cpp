// take-screenshots SONGS OUT: pictures of every window of the desktop program,
// drawn offscreen, in English and German: the main window listing the songs in
// SONGS, the language dialog, the edit dialog, the export dialog, the progress
// window, the overwrite question, the folder picker with its path field open,
// the main window listing a copy of the songs deep below SONGS, its path
// shortened, and the list's menu after a rename. Settings and the journal go
// to throw-away folders.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <iostream>

#include "desktop/MessageBoxes.h"
#include "desktop/SettingsStore.h"
#include "engine/Messages.h"
#include "engine/Undo.h"
#include "text/UiLanguage.h"
#include "ui/EditNameDlg.h"
#include "ui/FileListCtrl.h"
#include "ui/FolderDlg.h"
#include "ui/LanguageDlg.h"
#include "ui/MainDlg.h"
#include "ui/ProgressWindow.h"
#include "ui/SaveNamesDlg.h"

namespace {

QString g_out;
bool g_ok = true;

void Save(QWidget* widget, const QString& name) {
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (!widget->grab().save(path)) {
        std::cerr << "take-screenshots: cannot write " << path.toStdString() << '\n';
        g_ok = false;
        return;
    }
    std::cout << path.toStdString() << '\n';
}

// Runs `open`, which shows a modal window; the window is pictured and closed.
void SaveModal(const QString& name, const std::function<void()>& open) {
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        timer.stop();
        Save(modal, name);
        modal->close();
    });
    timer.start();
    open();
}

QString g_journals;

// The selected rows renamed, then the window with the list's context menu open on
// it ("Undo Rename (n files)"); the rename is taken back afterwards.
void PictureUndoMenu(tt::CMainDlg& window, const std::string& songs, const QString& suffix) {
    QTimer noQuestions;  // a question during the rename is answered Cancel
    QObject::connect(&noQuestions, &QTimer::timeout, [&]() {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            modal->close();
    });
    noQuestions.start(20);
    window.findChild<QPushButton*>(QStringLiteral("1062"))->click();
    noQuestions.stop();
    QApplication::processEvents();

    tt::CFileListCtrl* list = window.fileList();
    const QPoint at = list->viewport()->rect().center() - QPoint(60, 20);
    QMenu* menu = window.CreateListMenu();
    menu->popup(list->viewport()->mapToGlobal(at));
    QApplication::processEvents();
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(list->viewport()->mapTo(&window, at), menu->grab());
    painter.end();
    const QString path =
        QDir(g_out).filePath(QStringLiteral("undo-menu") + suffix + QStringLiteral(".png"));
    if (picture.save(path))
        std::cout << path.toStdString() << '\n';
    else
        g_ok = false, std::cerr << "take-screenshots: cannot write " << path.toStdString() << '\n';
    menu->close();
    delete menu;
    tt::UndoLastOperation(tt::SystemFileSystem(), nullptr, g_journals.toStdString(), songs);
}

// A copy of the songs in a folder deep below `songs`, as a backup on a stick
// would lie; made once.
std::string DeepFolder(const std::string& songs) {
    const QString from = QString::fromStdString(songs);
    const QString deep =
        from + QStringLiteral("/Backups/Stick from the November gig/Songs of the season/Final");
    if (!QDir(deep).exists()) {
        QDir().mkpath(deep);
        for (const QString& name : QDir(from).entryList(QDir::Files))
            QFile::copy(from + QLatin1Char('/') + name, deep + QLatin1Char('/') + name);
    }
    return deep.toStdString();
}

void PictureMainWindow(const std::string& songs, const QString& suffix) {
    tt::CMainDlg window;
    window.SetJournalFolder(g_journals.toStdString());
    window.SetFolderPicker([&](QWidget*, bool, std::string& folder) {
        folder = songs;
        return true;
    });
    window.OnInitDialog();
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("1000"))->click();
    tt::CFileListCtrl* list = window.fileList();
    for (int row : {0, 2, 3})
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QApplication::processEvents();
    Save(&window, QStringLiteral("main-window") + suffix);

    SaveModal(QStringLiteral("edit-dialog") + suffix, [&]() {
        std::string name = "Harbour Lights at Dusk";
        std::string ext = ".mid";
        window.EditName("SONG0001.MID", name, ext);
    });
    SaveModal(QStringLiteral("save-dialog") + suffix, [&]() {
        tt::CSaveNamesDlg dialog(window.engine().songFiles(), &window);
        dialog.DoModal();
    });
    // The progress window as a long scan shows it, over the listed folder.
    tt::ProgressWindow* progress = window.progressWindow();
    progress->ShowState(tt::EngineWork::scan, 123, 4567);
    QApplication::processEvents();
    Save(progress, QStringLiteral("progress-window") + suffix);
    progress->End();

    SaveModal(QStringLiteral("overwrite-question") + suffix, [&]() {
        tt::AskOverwriteBox(&window,
                            tt::FromCore(tt::OverwriteQuestion(songs + "/Lantern Waltz.sty")));
    });
    PictureUndoMenu(window, songs, suffix);

    // The folder picker as typing a path leaves it, before Enter.
    {
        tt::CFolderDlg picker(false, &window);
        picker.m_strPath = songs;
        picker.show();
        QApplication::processEvents();
        picker.OpenPathField(QStringLiteral("~/Music/Keyboard/Backups/Stick"), false);
        QApplication::processEvents();
        Save(&picker, QStringLiteral("folder-picker-path") + suffix);
    }

    // A folder deep below the songs: its path shortened in the middle.
    const std::string deep = DeepFolder(songs);
    window.SetFolderPicker([&](QWidget*, bool, std::string& folder) {
        folder = deep;
        return true;
    });
    window.findChild<QPushButton*>(QStringLiteral("1000"))->click();
    QApplication::processEvents();
    Save(&window, QStringLiteral("main-window-long-path") + suffix);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Usage: take-screenshots SONGS OUT\n";
        return 2;
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QTemporaryDir journals;
    g_journals = journals.path();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunetitler"));
    const std::string songs = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString();
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);

    DeepFolder(songs);  // before any picture, so that both languages' trees show it
    SaveModal(QStringLiteral("language-dialog"), []() {
        tt::CLanguageDlg dialog;
        dialog.DoModal();
    });
    tt::settings::WriteString(QStringLiteral("Language"), QStringLiteral("E"));
    PictureMainWindow(songs, QStringLiteral("-en"));
    tt::settings::WriteString(QStringLiteral("Language"), QStringLiteral("G"));
    PictureMainWindow(songs, QStringLiteral("-de"));
    return g_ok ? 0 : 1;
}
