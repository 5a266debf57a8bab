// One running copy per user: a second start brings the first copy's dialog to the
// front and ends untouched, or hands it its folder; two starts at the same instant
// leave one running; a first copy that does not answer is reported.
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "app/CommandLine.h"
#include "desktop/SingleInstance.h"

using namespace tt;
using Claimed = SingleInstance::Claimed;

class SingleInstanceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;
    QTemporaryDir m_config;  // stays empty: nothing reads or writes settings

    std::unique_ptr<QProcess> StartProgram(const QStringList& arguments = {}, QString cwd = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair{"QT_QPA_PLATFORM", QStringLiteral("offscreen")},
                                          {"XDG_RUNTIME_DIR", m_runtime.path()},
                                          {"XDG_CONFIG_HOME", m_config.path()}})
            environment.insert(QString::fromLatin1(name), value);
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(cwd);
        process->start(QStringLiteral(TUNETITLER_PROGRAM_PATH), arguments);
        return process;
    }

  private slots:
    void initTestCase() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QApplication::setApplicationName(QStringLiteral("Tunetitler"));  // this is the first copy
    }

    void secondStartRaisesTheRunningCopy() {
        SingleInstance running;
        QCOMPARE(running.Claim(), Claimed::first);
        QWidget mainWindow;
        QDialog dialog(&mainWindow);
        connect(&running, &SingleInstance::raiseRequested, &mainWindow,
                [&]() { RaiseProgramWindows(&mainWindow); });
        mainWindow.show();
        dialog.setModal(true);
        dialog.show();
        mainWindow.showMinimized();  // raised, it must be seen again
        mainWindow.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &mainWindow);

        const auto second = StartProgram();
        QVERIFY(QSignalSpy(second.get(), &QProcess::finished).wait(20000));
        QCOMPARE(second->exitCode(), 0);
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        QVERIFY(!mainWindow.isMinimized());
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
        // The dead copy's lock is taken over without waiting for an answer.
        QCOMPARE(SingleInstance().Claim({}, std::chrono::milliseconds(0)), Claimed::first);
    }

    // A later start's folder, relative to where it starts: listed, or reported.
    // One named while a dialog is open waits for it to close; the last one counts.
    void secondStartHandsOverItsFolder() {
        test::TempDir folder;
        for (const char* songs : {"Songs", "Other"}) {
            QVERIFY(QDir().mkpath(QString::fromStdString(folder / songs)));
            test::WriteSong(folder / songs + "/b.mid", "Beta");  // an empty one is reported
        }
        test::OpenMainWindow open;
        QVERIFY(open.Show());
        SingleInstance running;
        QCOMPARE(running.Claim(), Claimed::first);
        open.window->FollowLaterStarts(running);
        auto start = [&](const char* argument) {  // relative to `folder`
            const auto second = StartProgram({QString::fromLatin1(argument)},
                                             QString::fromStdString(folder.path()));
            QVERIFY(QSignalSpy(second.get(), &QProcess::finished).wait(20000));
            QCOMPARE(second->exitCode(), 0);
        };
        test::AnswerNextModal([&folder](QWidget* box) {
            QCOMPARE(static_cast<QMessageBox*>(box)->text(),
                     QString::fromStdString("This is not a folder:\n" + folder / "a.mid"));
            box->close();
        });
        start("./a.mid");
        QDialog dialog(open.window.get());
        dialog.setModal(true);
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        dialog.show();
        start("Other");
        start("Songs");
        QTest::qWait(100);
        QVERIFY(open.Control<QLabel>("1001")->text().isEmpty());
        dialog.close();
        QTRY_COMPARE(open.Control<QLabel>("1001")->text(),
                     QString::fromStdString(folder / "Songs"));
    }

    // The running copy (this process, which serves no socket while it waits) never
    // answers: the later start says so in the stored language, or in both.
    void frozenFirstCopy() {
        SingleInstance running;
        QCOMPARE(running.Claim(), Claimed::first);
        QSignalSpy raised(&running, &SingleInstance::raiseRequested);
        QSignalSpy listed(&running, &SingleInstance::folderRequested);
        QCOMPARE(SingleInstance().Claim("/x", std::chrono::milliseconds(300)),
                 Claimed::notResponding);
        // Awake again, the running copy finds the request of a start that has ended:
        // it is void.
        QTest::qWait(300);
        QCOMPARE(raised.count() + listed.count(), 0);
        const QString en = "Tunetitler is already running but does not respond.";
        const QString de = QString::fromUtf8("Tunetitler läuft bereits, reagiert aber nicht.");
        for (const auto& [stored, text] : {std::pair{"E", en}, {"G", de}, {"", en + '\n' + de}}) {
            settings::WriteString("Language", stored);
            test::AnswerNextModal([text = text](QWidget* box) {
                QCOMPARE(box->windowTitle() + '|' + static_cast<QMessageBox*>(box)->text(),
                         "Tunetitler|" + text);
                box->close();
            });
            ShowNotRespondingBox();
        }
    }

    // Arguments as Qt leaves them: options are passed over, "--" ends them.
    void folderArgument() {
        const char* rows[][3] = {{"-x", "", ""},
                                 {"--x", "Songs/./new/../", "/start/Songs"},
                                 {"/a//b/..", "", "/a"},
                                 {"--", "-dash", "/start/-dash"}};
        for (const auto& [first, second, folder] : rows) {
            char* argv[] = {const_cast<char*>("Tunetitler"), const_cast<char*>(first),
                            const_cast<char*>(second)};
            QCOMPARE(FolderArgument(second[0] ? 3 : 2, argv, "/start"), std::string(folder));
        }
    }
};

TT_GUI_TEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
