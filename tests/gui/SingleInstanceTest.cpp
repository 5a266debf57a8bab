// One running copy per user: a second start brings the first to the front and
// ends; two starts at the same instant leave exactly one running.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "app/SingleInstance.h"

using namespace tt;

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_runtime;
    QTemporaryDir m_config;

    std::unique_ptr<QProcess> StartProgram() {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(TUNETITLER_PROGRAM_PATH), QStringList());
        return process;
    }
    bool ConfigUntouched() const {
        return QDir(m_config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
    }

  private slots:
    void initTestCase() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        // This process stands in for the running program.
        QApplication::setApplicationName(QStringLiteral("Tunetitler"));
    }

    void secondStartRaisesTheRunningCopy() {
        SingleInstance running;
        QVERIFY(running.Claim());
        QWidget mainWindow;
        mainWindow.show();
        QDialog dialog(&mainWindow);
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        mainWindow.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &mainWindow);
        connect(&running, &SingleInstance::raiseRequested, &mainWindow,
                [&]() { RaiseProgramWindows(&mainWindow); });

        const auto second = StartProgram();
        QSignalSpy finished(second.get(), &QProcess::finished);
        QVERIFY(finished.wait(20000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        QVERIFY(ConfigUntouched());
    }

    void twoStartsAtOnceLeaveOneRunning() {
        // Nothing stored: the copy that runs waits in the language dialog.
        const auto first = StartProgram();
        const auto second = StartProgram();
        QTRY_VERIFY_WITH_TIMEOUT(
            first->state() == QProcess::NotRunning || second->state() == QProcess::NotRunning,
            20000);
        QProcess* ended = first->state() == QProcess::NotRunning ? first.get() : second.get();
        QProcess* running = ended == first.get() ? second.get() : first.get();
        QCOMPARE(ended->exitCode(), 0);
        QTest::qWait(500);
        QCOMPARE(running->state(), QProcess::Running);
        running->kill();
        running->waitForFinished(5000);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
