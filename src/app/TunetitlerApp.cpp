#include "app/TunetitlerApp.h"

#include <QLibraryInfo>
#include <QLocale>

#include "desktop/AppIcon.h"
#include "desktop/SingleInstance.h"
#include "ui/MainDlg.h"

namespace tt {

CTunetitlerApp::CTunetitlerApp(int& argc, char** argv) : m_app(argc, argv) {}

void CTunetitlerApp::LoadQtTranslations() {
    if (m_qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);
}

int CTunetitlerApp::InitInstance() {
    SingleInstance instance;
    if (!instance.Claim())
        return 0;  // the running copy is in front now; nothing else is touched

    LoadQtTranslations();
    QApplication::setWindowIcon(AppIcon());
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TUNETITLER_APP_ID));
    // The language dialog closes before the main window shows: that must not end
    // the program. The program ends when the main window's dialog loop returns.
    QApplication::setQuitOnLastWindowClosed(false);

    CMainDlg mainWindow;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &mainWindow,
                     [&mainWindow]() { RaiseProgramWindows(&mainWindow); });
    mainWindow.DoModal();
    return 0;
}

}  // namespace tt
