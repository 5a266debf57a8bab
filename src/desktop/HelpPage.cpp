#include "desktop/HelpPage.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include "desktop/MessageBoxes.h"
#include "text/UiLanguage.h"

namespace tt {

namespace {

void ReportNoProgram(QWidget* owner, const QString& page) {
    ShowWarningBox(owner, QString::fromUtf8(Tr("No program could open the help page. Open it "
                                               "in a web browser:\n%1",
                                               "Kein Programm konnte die Hilfeseite öffnen. "
                                               "Öffnen Sie sie in einem Webbrowser:\n%1"))
                              .arg(QDir::toNativeSeparators(page)));
}

}  // namespace

QString FindHelpPage(const QString& startDir, bool german) {
    const QString name =
        german ? QStringLiteral("Tunetitler.htm") : QStringLiteral("Tunetitler_e.htm");
    const QString folders[] = {startDir, QStringLiteral(TUNETITLER_DATA_DIR),
                               QStringLiteral(TUNETITLER_SOURCE_DATA_DIR)};
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QFileInfo page(QDir(folder), name);
        if (page.isFile())
            return page.absoluteFilePath();
    }
    return {};
}

void OpenHelpPage(QWidget* owner, const QString& page) {
    const QString opener = QStandardPaths::findExecutable(g_pageOpener);
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
            ReportNoProgram(owner, page);
        return;
    }
    // The opener tells by its exit status whether a program took the page; it
    // may take as long as that program runs, so the window does not wait for it.
    auto* process = new QProcess(owner);
    const QPointer<QWidget> box = owner;
    const auto failed = [process, box, page]() {
        process->deleteLater();
        if (box)
            ReportNoProgram(box, page);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int exitCode, QProcess::ExitStatus status) {
                         if (status == QProcess::NormalExit && exitCode == 0)
                             process->deleteLater();
                         else
                             failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [failed](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             failed();
                     });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(opener, {page});
}

}  // namespace tt
