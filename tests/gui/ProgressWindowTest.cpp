// The progress window over the real main window, on a file layer that takes its
// time: it shows for slow work only, and Cancel ends the work between files.
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
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
    int waitMs = 15;
};

class ProgressWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void cancelEndsTheWork_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("work");  // type box: scan; Rename: rename
        QTest::addColumn<QString>("cancelBy");
        QTest::addColumn<QStringList>("texts");
        auto row = [](const char* name, QString language, QString work, QString by,
                      QStringList texts) {
            QTest::newRow(name) << language << work << by << texts;
        };
        row("scan, Cancel", "E", "1008", "button", {"Reading song titles…", "Cancel"});
        row("scan, close box", "G", "1008", "close", {"Songtitel werden gelesen…", "Abbrechen"});
        row("rename, Esc", "E", "1062", "escape", {"Renaming files…", "Cancel"});
        row("rename, Abbrechen", "G", "1062", "button", {"Dateien werden umbenannt…", "Abbrechen"});
    }
    // 30 songs s00.mid ... titled "Title 00" ..., listed in a scan of under a
    // second; then the scan or a rename of all runs slowly and is cancelled. The
    // rename meets an existing target on the way: its question shows over the
    // progress window and is answered No before the work is cancelled.
    void cancelEndsTheWork() {
        QFETCH(QString, language);
        QFETCH(QString, work);
        QFETCH(QString, cancelBy);
        TempDir folder;
        for (int i = 0; i < 30; ++i)
            WriteSong(folder / QString::asprintf("s%02d.mid", i).toStdString(),
                      QString::asprintf("Title %02d", i).toStdString());
        SlowFileSystem fs;
        OpenMainWindow open(qPrintable(language), fs);
        QVERIFY(open.Show());
        open.picks.push_back(folder.path());
        QTimer probe;  // work under a second processes no event: the probe never fires
        probe.setSingleShot(true), probe.start(0);
        QTest::mouseClick(open.Control("1000"), Qt::LeftButton);
        QVERIFY(probe.isActive() && open.Rows().size() == 30);

        if (work == "1062")
            WriteWholeFile(folder / "Title 12.mid", "in the way");
        QTest::mouseClick(open.Control("1060"), Qt::LeftButton);  // select all
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
                shown << label->text();
            shown << progress->findChild<QPushButton*>()->text();
            // The main window takes no input: a click on a type box leaves it on.
            QWidget* box = open.Control("1007");
            QTest::mouseClick(open.window->windowHandle(), Qt::LeftButton, {},
                              box->mapTo(open.window.get(), box->rect().center()));
            QVERIFY(open.Control<QCheckBox>("1007")->isChecked());
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
        QCOMPARE(shown.value(1).section(" / ", 1), QStringLiteral("30"));
        QTEST(QStringList({shown.value(0), shown.value(2)}), "texts");
        QVERIFY(!progress->isVisible() && QApplication::overrideCursor() == nullptr);
        QCOMPARE(open.Control<QLabel>("1001")->text(), QString::fromStdString(folder.path()));
        fs.waitMs = 0;
        if (work == "1008") {  // an empty list; a type box click reads the folder again
            QCOMPARE(open.Rows(), QStringList());
            QTest::mouseClick(open.Control("1008"), Qt::LeftButton);
            QCOMPARE(open.Rows().size(), 30);
            return;
        }
        // Handled rows show their new names and are deselected; the rest (Title
        // 12's song first) keep their files' old names and stay selected.
        const auto selected = open.List()->GetSelectedItems();
        QVERIFY(selected.size() > 1 && selected.size() < 18 && selected.front() == 12);
        for (int row = 0; row < 30; ++row)
            QCOMPARE(open.Rows()[row].startsWith("s"),
                     std::count(selected.begin(), selected.end(), row) == 1);
        const Contents disk = FolderContents(folder.path());
        QCOMPARE(std::count_if(disk.begin(), disk.end(),
                               [](auto& file) { return file.first[0] == 's'; }),
                 std::ptrdiff_t(selected.size()));
        QCOMPARE(disk.size(), std::size_t{31});
    }
};

TT_GUI_TEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
