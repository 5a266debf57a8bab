#include "app/TunetitlerApp.h"

#include <QLibraryInfo>
#include <QLocale>
#include <filesystem>
#include <system_error>

#include "app/CommandLine.h"
#include "desktop/AppIcon.h"
#include "desktop/SingleInstance.h"
#include "ui/MainDlg.h"

namespace tt {

CTunetitlerApp::CTunetitlerApp(int& argc, char** argv)
    : m_argc(argc), m_argv(argv), m_app(argc, argv) {}

void CTunetitlerApp::LoadQtTranslations() {
    if (m_qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);
}

int CTunetitlerApp::InitInstance() {
    std::error_code error;
    const std::string currentDir = std::filesystem::current_path(error).native();
    // Qt has taken its own options out of the arguments by now.
    const std::string folder = FolderArgument(m_argc, m_argv, currentDir);
    SingleInstance instance;
    const SingleInstance::Claimed claimed = instance.Claim(QByteArray::fromStdString(folder));
    if (claimed == SingleInstance::Claimed::answered)
        return 0;  // the running copy is in front now; nothing else is touched

    LoadQtTranslations();
    QApplication::setWindowIcon(AppIcon());
    if (claimed == SingleInstance::Claimed::notResponding) {
        ShowNotRespondingBox();
        return 1;
    }
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TUNETITLER_APP_ID));
    // The language dialog closes before the main window shows: that must not end
    // the program. The program ends when the main window's dialog loop returns.
    QApplication::setQuitOnLastWindowClosed(false);

    CMainDlg mainWindow;
    mainWindow.FollowLaterStarts(instance);
    mainWindow.SetStartFolder(folder);
    mainWindow.DoModal();
    return 0;
}

}  // namespace tt
