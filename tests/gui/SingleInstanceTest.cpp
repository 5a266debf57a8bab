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

    std::unique_ptr<QProcess> StartProgram(const QStringList& arguments = {},
                                           const QString& workingDir = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair{"QT_QPA_PLATFORM", QStringLiteral("offscreen")},
                                          {"XDG_RUNTIME_DIR", m_runtime.path()},
                                          {"XDG_CONFIG_HOME", m_config.path()}})
            environment.insert(QString::fromLatin1(name), value);
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(workingDir);
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
        // The dead copy's lock is taken over without waiting for an answer.
        QCOMPARE(SingleInstance().Claim({}, std::chrono::milliseconds(0)), Claimed::first);
    }

    // A later start, from another folder, names a folder (relative to where it
    // starts): the running copy lists it, or says it is no folder.
    void secondStartHandsOverItsFolder() {
        test::TempDir folder;
        test::WriteSong(folder / "a.mid", "Alpha");
        QVERIFY(QDir().mkpath(QString::fromStdString(folder / "Songs")));
        test::WriteSong(folder / "Songs/b.mid", "Beta");
        test::OpenMainWindow open;
        QVERIFY(open.Show());
        SingleInstance running;
        QCOMPARE(running.Claim(), Claimed::first);
        open.window->FollowLaterStarts(running);
        QString message;
        test::AnswerNextModal([&message](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            test::ClickButton(box, QStringLiteral("OK"));
        });
        const std::string shown[][2] = {{"Songs/../.", folder.path()},
                                        {"./a.mid", "This is not a folder:\n" + folder / "a.mid"},
                                        {"Songs", folder / "Songs"}};
        for (const auto& [argument, expected] : shown) {
            const auto second = StartProgram({QString::fromStdString(argument)},
                                             QString::fromStdString(folder.path()));
            QVERIFY(QSignalSpy(second.get(), &QProcess::finished).wait(20000));
            QCOMPARE(second->exitCode(), 0);
            QLabel* label = open.Control<QLabel>("1001");
            QTRY_COMPARE(argument == "./a.mid" ? message : label->text(),
                         QString::fromStdString(expected));
        }
        QCOMPARE(open.Rows(), QStringList{"b.mid -> Beta.mid"});
    }

    // The running copy holds the lock but never answers (this process does not
    // serve its socket while it waits): the later start gives up and says so, in
    // the stored language, in both while none is stored.
    void frozenFirstCopy() {
        SingleInstance running;
        QCOMPARE(running.Claim(), Claimed::first);
        QCOMPARE(SingleInstance().Claim("/x", std::chrono::milliseconds(300)),
                 Claimed::notResponding);
        const QString english = "Tunetitler is already running but does not respond.";
        const QString german = QString::fromUtf8("Tunetitler läuft bereits, reagiert aber nicht.");
        for (const auto& [stored, text] :
             {std::pair{"E", english}, {"G", german}, {"", english + '\n' + german}}) {
            settings::WriteString(QStringLiteral("Language"), QString::fromLatin1(stored));
            QString shown;
            test::AnswerNextModal([&shown](QWidget* box) {
                shown = box->windowTitle() + '|' + static_cast<QMessageBox*>(box)->text();
                test::ClickButton(box, QStringLiteral("OK"));
            });
            ShowNotRespondingBox();
            QCOMPARE(shown, "Tunetitler|" + text);
        }
    }

    void folderArgument_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder");
        QTest::newRow("none") << QStringList{"-x"} << "";
        QTest::newRow("relative") << QStringList{"--x", "Songs/./new/../"} << "/start/Songs";
        QTest::newRow("absolute") << QStringList{"/a//b/.."} << "/a";
        QTest::newRow("after --") << QStringList{"--", "-dash"} << "/start/-dash";
        QTest::newRow("root") << QStringList{"/.."} << "/";
    }
    void folderArgument() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folder);
        std::vector<QByteArray> bytes{"Tunetitler"};
        for (const QString& argument : arguments)
            bytes.push_back(argument.toUtf8());
        std::vector<char*> argv;
        for (QByteArray& argument : bytes)
            argv.push_back(argument.data());
        QCOMPARE(FolderArgument(int(argv.size()), argv.data(), "/start"), folder.toStdString());
    }
};

TT_GUI_TEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
