// One running copy per user: a second start brings the first copy's dialog to the
// front and ends untouched; two starts at the same instant leave one running.
#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "desktop/SingleInstance.h"

using namespace tt;

class SingleInstanceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;
    QTemporaryDir m_config;  // stays empty: nothing reads or writes settings

    std::unique_ptr<QProcess> StartProgram() {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair{"QT_QPA_PLATFORM", QStringLiteral("offscreen")},
                                          {"XDG_RUNTIME_DIR", m_runtime.path()},
                                          {"XDG_CONFIG_HOME", m_config.path()}})
            environment.insert(QString::fromLatin1(name), value);
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(TUNETITLER_PROGRAM_PATH), QStringList());
        return process;
    }

  private slots:
    void secondStartRaisesTheRunningCopy() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QApplication::setApplicationName(QStringLiteral("Tunetitler"));  // this is the first copy
        SingleInstance running;
        QVERIFY(running.Claim());
        QWidget mainWindow;
        QDialog dialog(&mainWindow);
        connect(&running, &SingleInstance::raiseRequested, &mainWindow,
                [&]() { RaiseProgramWindows(&mainWindow); });
        mainWindow.show();
        dialog.setModal(true);
        dialog.show();
        mainWindow.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &mainWindow);

        const auto second = StartProgram();
        QVERIFY(QSignalSpy(second.get(), &QProcess::finished).wait(20000));
        QCOMPARE(second->exitCode(), 0);
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        QVERIFY(QDir(m_config.path()).isEmpty());
    }

    void twoStartsAtOnceLeaveOneRunning() {
        // Nothing stored: the copy that runs waits in the language dialog.
        const std::unique_ptr<QProcess> copies[] = {StartProgram(), StartProgram()};
        QTRY_VERIFY_WITH_TIMEOUT(copies[0]->state() == QProcess::NotRunning ||
                                     copies[1]->state() == QProcess::NotRunning,
                                 20000);
        const bool firstEnded = copies[0]->state() == QProcess::NotRunning;
        QCOMPARE(copies[firstEnded ? 0 : 1]->exitCode(), 0);
        QTest::qWait(500);
        QProcess& running = *copies[firstEnded ? 1 : 0];
        QCOMPARE(running.state(), QProcess::Running);
        running.kill();
        running.waitForFinished(5000);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
