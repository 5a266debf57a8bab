// Undo in the main window: the list's context menu names what Ctrl+Z takes back,
// in both languages; Ctrl+Z asks first and gives the folder back as it was; a
// folder that an interrupted run left half-done is put right when it is listed,
// with one message; SIGTERM closes the window as Exit does.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <csignal>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "PassThroughFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "engine/OperationJournal.h"

using namespace tt;
using namespace tt::test;

class UndoWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OpenMainWindow> Open(const char* language, const TempDir& journals,
                                         FileSystem& fs = SystemFileSystem()) {
        auto open = std::make_unique<OpenMainWindow>(language, fs);
        open->window->SetJournalFolder(journals.path());
        if (!open->Show())
            return nullptr;
        return open;
    }
    // Ctrl+Z on the list, with the window active again after a message box.
    static void CtrlZ(OpenMainWindow& open) {
        open.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(open.window.get()));
        QTest::keyClick(open.List(), Qt::Key_Z, Qt::ControlModifier);
    }
    // The list menu's first item, "(off)" after it when disabled.
    static QString FirstMenuItem(OpenMainWindow& open) {
        std::unique_ptr<QMenu> menu(open.window->CreateListMenu());
        QAction* first = menu->actions().value(0);
        return first ? first->text() + (first->isEnabled() ? "" : " (off)") : QString();
    }

  private slots:
    void renameThenCtrlZ_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("nothing");
        QTest::addColumn<QString>("undoRename");
        QTest::newRow("English") << "E"
                                 << "Nothing to undo"
                                 << "Undo Rename (3 files)";
        QTest::newRow("German") << "G" << QString::fromUtf8("Nichts rückgängig zu machen")
                                << QString::fromUtf8("Umbenennen rückgängig (3 Dateien)");
    }
    void renameThenCtrlZ() {
        QFETCH(QString, language);
        QFETCH(QString, nothing);
        QFETCH(QString, undoRename);
        TempDir folder, journals;
        WriteSong(folder / "a.mid", "Alpha");
        WriteWholeFile(folder / "a.txt", "lyrics");
        WriteSong(folder / "case.mid", "CASE");
        const Contents before = FolderContents(folder.path());
        auto open = Open(qPrintable(language), journals);
        QVERIFY(open);
        open->picks.push_back(folder.path());
        QTest::mouseClick(open->Control("1000"), Qt::LeftButton);
        QCOMPARE(FirstMenuItem(*open), nothing + " (off)");

        open->List()->SelectAllItems();
        QTest::mouseClick(open->Control("1062"), Qt::LeftButton);
        QVERIFY(FolderContents(folder.path()) != before);
        QCOMPARE(FirstMenuItem(*open), undoRename);

        // No leaves everything; Yes takes the rename back and reads the list again.
        QString asked;
        AnswerNextMessageBox(QMessageBox::No, &asked);
        CtrlZ(*open);
        QVERIFY2(asked.contains(QString::fromLocal8Bit(folder.path().c_str())), qPrintable(asked));
        QVERIFY(asked.contains(QStringLiteral("3")));
        QVERIFY(FolderContents(folder.path()) != before);
        AnswerNextMessageBox(QMessageBox::Yes);
        CtrlZ(*open);
        QCOMPARE(FolderContents(folder.path()), before);
        QCOMPARE(open->Rows().value(0), QStringLiteral("a.mid -> Alpha.mid"));
        QCOMPARE(FirstMenuItem(*open), nothing + " (off)");
    }

    // A rename killed while a song was hidden under a temporary name: listing the
    // folder gives the song its name back and says so in one message.
    void interruptedRunIsPutRightWhenListed() {
        TempDir folder, journals;
        WriteSong(folder / ".tunetitler-999999-0-0.tmp", "Alpha");
        WriteWholeFile(journals / "operation-00000000000000000001-999999.log",
                       "tunetitler-journal\t1\nbegin\trename\t" + folder.path() + "\t" +
                           folder.path() + "\t999999\t0\ngroup\ndo\t1\tmove\t" + folder.path() +
                           "/a.mid\t" + folder.path() + "/A.mid\t0\n");
        auto open = Open("E", journals);
        QVERIFY(open);
        open->picks.push_back(folder.path());
        QString message;
        AnswerNextMessageBox(QMessageBox::Ok, &message);
        QTest::mouseClick(open->Control("1000"), Qt::LeftButton);
        QVERIFY2(message.contains(QStringLiteral("a.mid: back under its old name")),
                 qPrintable(message));
        QCOMPARE(open->Rows(), QStringList({"a.mid -> Alpha.mid"}));
    }

    // Ctrl-C in the middle of a short rename: the song at hand goes with its
    // companion, the rest stays, and the window stays open.
    void ctrlCStopsWorkAtTheNextSong() {
        struct CtrlCAtFirstMove : PassThroughFileSystem {
            void MoveNoReplace(const std::string& from, const std::string& to) override {
                if (!raised)
                    raised = true, ::raise(SIGINT);
                PassThroughFileSystem::MoveNoReplace(from, to);
            }
            bool raised = false;
        } fs;
        TempDir folder, journals;
        WriteSong(folder / "a.mid", "Alpha");
        WriteWholeFile(folder / "a.txt", "lyrics");
        WriteSong(folder / "b.mid", "Beta");
        auto open = Open("E", journals, fs);
        QVERIFY(open);
        open->picks.push_back(folder.path());
        QTest::mouseClick(open->Control("1000"), Qt::LeftButton);
        open->List()->SelectAllItems();
        QTest::mouseClick(open->Control("1062"), Qt::LeftButton);
        QCOMPARE(ListFolder(folder.path()),
                 (std::vector<std::string>{"Alpha.mid", "Alpha.txt", "b.mid"}));
        QTest::qWait(50);
        QVERIFY(open->window->isVisible());
    }

    void sigtermClosesAsExitDoes() {
        TempDir journals;
        auto open = Open("E", journals);
        QVERIFY(open);
        ::raise(SIGTERM);
        QTRY_VERIFY(!open->window->isVisible());
        QCOMPARE(open->window->result(), int(QDialog::Accepted));
    }
};

TT_GUI_TEST_MAIN(UndoWindowTest)
#include "UndoWindowTest.moc"
