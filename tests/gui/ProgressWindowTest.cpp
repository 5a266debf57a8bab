// The progress window over the real main window, on a file layer that takes its
// time: it shows for slow work only, and Cancel ends the work between files.
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <thread>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "PassThroughFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "ui/ProgressWindow.h"

using namespace tt;
using namespace tt::test;

// Every open for reading and every move waits `waitMs`.
struct SlowFileSystem : PassThroughFileSystem {
    FileHandle OpenRead(const std::string& path) override {
        return Wait(), PassThroughFileSystem::OpenRead(path);
    }
    void MoveNoReplace(const std::string& from, const std::string& to) override {
        Wait(), PassThroughFileSystem::MoveNoReplace(from, to);
    }
    void Wait() const { std::this_thread::sleep_for(std::chrono::milliseconds(waitMs)); }
    int waitMs = 10;
};

class ProgressWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void cancelEndsTheWork_data() {
        QTest::addColumn<QString>("work");  // type box: scan; Rename: rename
        QTest::addColumn<QString>("cancelBy");
        QTest::addColumn<QStringList>("texts");
        auto row = [](const char* name, QString work, QString by, QStringList texts) {
            QTest::newRow(name) << work << by << texts;
        };
        row("scan, Cancel", "1008", "button", {"Reading song titles…", "30", "Cancel"});
        row("scan, close box", "1008", "close", {"Songtitel werden gelesen…", "30", "Abbrechen"});
        row("rename, Esc", "1062", "escape", {"Renaming files…", "30", "Cancel"});
        row("rename, Abbrechen", "1062", "button",
            {"Dateien werden umbenannt…", "30", "Abbrechen"});
    }
    // A quick scan lists 30 songs; then a slow scan or rename is cancelled. The
    // rename's question about Title 12.mid shows over the progress window.
    void cancelEndsTheWork() {
        QFETCH(QString, work);
        QFETCH(QString, cancelBy);
        TempDir folder;
        for (int i = 0; i < 30; ++i)
            WriteSong(folder / QString::asprintf("s%02d.mid", i).toStdString(),
                      QString::asprintf("Title %02d", i).toStdString());
        SlowFileSystem fs;
        QFETCH(QStringList, texts);
        OpenMainWindow open(texts.endsWith("Cancel") ? "E" : "G", fs);
        QVERIFY(open.Show());
        open.picks.push_back(folder.path());
        QTimer probe;  // work under a second processes no event: the probe never fires
        probe.setSingleShot(true), probe.start(0);
        QTest::mouseClick(open.Control("1000"), Qt::LeftButton);
        QVERIFY(probe.isActive() && open.Rows().size() == 30);

        if (work == "1062")
            WriteWholeFile(folder / "Title 12.mid", "in the way");
        QTest::mouseClick(open.Control("1060"), Qt::LeftButton);
        ProgressWindow* progress = open.window->progressWindow();
        auto cancel = [&]() {
            if (cancelBy == "button")
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            else if (cancelBy == "escape")
                QTest::keyClick(progress, Qt::Key_Escape);
            else
                progress->close();
        };
        QStringList shown;
        AnswerNextModal([&](QWidget* modal) {
            QCOMPARE(modal, progress);
            for (auto* label : progress->findChildren<QLabel*>())
                shown << label->text().section(" / ", -1);  // files done vary
            shown << progress->findChild<QPushButton*>()->text();
            QCOMPARE(progress->findChild<QProgressBar*>()->accessibleName(), shown.value(0));
            if (work == "1008")
                return cancel();
            AnswerNextModal([&](QWidget* question) {
                QCOMPARE(question->parentWidget(), progress);
                qobject_cast<QMessageBox*>(question)->button(QMessageBox::No)->click();
                QTimer::singleShot(0, cancel);
            });
        });
        fs.waitMs = 60;
        QTest::mouseClick(open.Control(qPrintable(work)), Qt::LeftButton);
        QCOMPARE(shown, texts);
        QVERIFY(!progress->isVisible() && QApplication::overrideCursor() == nullptr);
        QCOMPARE(open.Control<QLabel>("1001")->text(), QString::fromStdString(folder.path()));
        fs.waitMs = 0;
        if (work == "1008") {  // an empty list until a type box click
            QCOMPARE(open.Rows(), QStringList());
            QTest::mouseClick(open.Control("1008"), Qt::LeftButton);
            QCOMPARE(open.Rows().size(), 30);
            return;
        }
        // Handled rows show new names, deselected; the rest stay selected.
        const auto selected = open.List()->GetSelectedItems();
        QVERIFY(selected.size() > 1 && selected.front() == 12);
        const Contents disk = FolderContents(folder.path());
        for (int row = 0; row < 30; ++row) {  // each row's old name is a file on disk
            const QString old = open.Rows()[row].section(" -> ", 0, 0);
            QVERIFY(disk.count(old.toStdString()) == 1);
            QCOMPARE(old.startsWith("s"), std::count(selected.begin(), selected.end(), row) == 1);
        }
        QCOMPARE(disk.size(), std::size_t{31});
    }
};

TT_GUI_TEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
