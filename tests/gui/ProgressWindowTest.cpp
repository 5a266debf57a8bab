// The progress window over the real main window, on a file layer that takes its
// time: it shows for slow work only, and Cancel ends the work between files.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <thread>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "PassThroughFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "ui/ProgressWindow.h"

using namespace tt;
using namespace tt::test;

namespace {

// Every open for reading and every move waits; a wait notes whether the
// progress window was showing.
class SlowFileSystem : public PassThroughFileSystem {
  public:
    FileHandle OpenRead(const std::string& path) override {
        return Wait(), PassThroughFileSystem::OpenRead(path);
    }
    void MoveNoReplace(const std::string& from, const std::string& to) override {
        Wait(), PassThroughFileSystem::MoveNoReplace(from, to);
    }
    int waitMs = 0;
    QWidget* watched = nullptr;
    bool sawWindow = false;

  private:
    void Wait() {
        sawWindow = sawWindow || (watched != nullptr && watched->isVisible());
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
    }
};

}  // namespace

class ProgressWindowTest : public QObject {
    Q_OBJECT

    TempDir m_folder;
    SlowFileSystem m_fs;
    std::unique_ptr<OpenMainWindow> m_open;

    // Songs s00.mid .. s<n-1>.mid titled "Title 00" ..., listed in the window.
    void OpenOverSongs(const char* language, int count) {
        for (int i = 0; i < count; ++i)
            WriteSong(m_folder / QString::asprintf("s%02d.mid", i).toStdString(),
                      QString::asprintf("Title %02d", i).toStdString());
        m_open = std::make_unique<OpenMainWindow>(language, m_fs);
        m_fs.watched = m_open->window->progressWindow();
        QVERIFY(m_open->Show());
        m_open->picks.push_back(m_folder.path());
        QTest::mouseClick(m_open->Control("1000"), Qt::LeftButton);
        QCOMPARE(m_open->Rows().size(), count);
    }

  private slots:
    void cleanup() {
        m_open.reset();
        m_fs.waitMs = 0, m_fs.watched = nullptr, m_fs.sawWindow = false;
        for (const auto& [name, content] : FolderContents(m_folder.path()))
            std::remove((m_folder / name).c_str());
    }

    void cancelEndsTheWork_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("cancelBy");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cancelText");
        QTest::newRow("scan, Cancel") << "E" << false << "button"
                                      << "Reading song titles…"
                                      << "Cancel";
        QTest::newRow("scan, close box") << "G" << false << "close"
                                         << "Songtitel werden gelesen…"
                                         << "Abbrechen";
        QTest::newRow("rename, Esc") << "E" << true << "escape"
                                     << "Renaming files…"
                                     << "Cancel";
        QTest::newRow("rename, Abbrechen") << "G" << true << "button"
                                           << "Dateien werden umbenannt…"
                                           << "Abbrechen";
    }
    // A rename also meets an existing target on the way: its question shows
    // over the progress window and is answered No before the work is cancelled.
    void cancelEndsTheWork() {
        QFETCH(QString, language);
        QFETCH(bool, rename);
        QFETCH(QString, cancelBy);
        QFETCH(QString, text);
        QFETCH(QString, cancelText);
        OpenOverSongs(qPrintable(language), 30);
        if (rename)
            WriteWholeFile(m_folder / "Title 12.mid", "in the way");
        QTest::mouseClick(m_open->Control("1060"), Qt::LeftButton);  // select all
        ProgressWindow* progress = m_open->window->progressWindow();
        auto cancel = [&]() {
            if (cancelBy == "button")
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            else if (cancelBy == "escape")
                QTest::keyClick(progress, Qt::Key_Escape);
            else
                progress->close();
        };
        QElapsedTimer clock;
        qint64 shownAfter = -1;
        QStringList shown;
        AnswerNextModal([&](QWidget* modal) {
            shownAfter = clock.elapsed();
            QCOMPARE(modal, progress);
            for (auto* label : progress->findChildren<QLabel*>())
                shown << label->text();
            shown << progress->findChild<QPushButton*>()->text();
            // The main window takes no input: a click on a type box leaves it on.
            QWidget* box = m_open->Control("1007");
            QTest::mouseClick(m_open->window->windowHandle(), Qt::LeftButton, {},
                              box->mapTo(m_open->window.get(), box->rect().center()));
            QVERIFY(m_open->Control<QCheckBox>("1007")->isChecked());
            if (!rename)
                return cancel();
            AnswerNextModal([&](QWidget* question) {
                QCOMPARE(question->parentWidget(), progress);
                qobject_cast<QMessageBox*>(question)->button(QMessageBox::No)->click();
                QTimer::singleShot(0, cancel);
            });
        });
        m_fs.waitMs = 60;
        clock.start();
        QTest::mouseClick(m_open->Control(rename ? "1062" : "1008"), Qt::LeftButton);
        QVERIFY(shownAfter >= 0 && shownAfter < 1200);
        QCOMPARE(shown.mid(0, 1) + shown.mid(2), QStringList({text, cancelText}));
        QVERIFY(shown.value(1).endsWith(" / 30"));
        QVERIFY(!progress->isVisible() && QApplication::overrideCursor() == nullptr);
        QCOMPARE(m_open->Control<QLabel>("1001")->text(), QString::fromStdString(m_folder.path()));
        m_fs.waitMs = 0;
        if (!rename) {
            QCOMPARE(m_open->Rows(), QStringList());
            QTest::mouseClick(m_open->Control("1008"), Qt::LeftButton);
            QCOMPARE(m_open->Rows().size(), 30);
            return;
        }
        // Rows handled show their file's new name and are deselected; the rest
        // (Title 12's song among them) still hold their file and stay selected.
        const QStringList rows = m_open->Rows();
        const Contents disk = FolderContents(m_folder.path());
        std::vector<std::int32_t> unhandled;
        for (int row = 0; row < rows.size(); ++row) {
            const QString old = rows[row].section(" -> ", 0, 0);
            QVERIFY2(disk.count(old.toStdString()) == 1, qPrintable(rows[row]));
            if (old.startsWith("s"))
                unhandled.push_back(row);
        }
        QVERIFY(unhandled.size() > 1 && unhandled.size() < 29 && unhandled.front() == 12);
        QCOMPARE(m_open->List()->GetSelectedItems(), unhandled);
        QCOMPARE(disk.size(), std::size_t{31});
    }

    // Work under a second shows the wait cursor only: the progress window
    // never appears, and no event is processed in the middle of the work.
    void shortWorkShowsNoWindow() {
        OpenOverSongs("E", 4);
        m_fs.waitMs = 20;
        bool eventsRan = false;
        QTimer::singleShot(0, [&]() { eventsRan = true; });
        QTest::mouseClick(m_open->Control("1008"), Qt::LeftButton);
        QTest::mouseClick(m_open->Control("1060"), Qt::LeftButton);
        QTest::mouseClick(m_open->Control("1062"), Qt::LeftButton);
        QVERIFY(!eventsRan && !m_fs.sawWindow);
        QCOMPARE(m_open->Rows().first(), QStringLiteral("Title 00.mid -> Title 00.mid"));
    }
};

TT_GUI_TEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
