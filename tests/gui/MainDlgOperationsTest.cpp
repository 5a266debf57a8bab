// Rename, Copy+Rename and Save through the real main window, from picking the
// folder to the files on disk and the rows of the list.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "SongBytes.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "desktop/SettingsStore.h"
#include "engine/Messages.h"
#include "ui/SaveNamesDlg.h"

using namespace tt;
using namespace tt::test;

class MainDlgOperationsTest : public QObject {
    Q_OBJECT

    // Two titled songs, one with lyrics, and an untitled song named like the second title.
    TempDir* m_folder = nullptr;
    Contents m_before;
    std::unique_ptr<OpenMainWindow> m_open;

  private slots:
    void init() {
        m_folder = new TempDir;
        WriteSong(*m_folder / "a.mid", "Alpha");
        WriteSong(*m_folder / "b.mid", "Beta");
        WriteUntitledSong(*m_folder / "Beta.mid", "old");
        WriteWholeFile(*m_folder / "a.txt", "lyrics");
        m_before = FolderContents(m_folder->path());
        m_open = std::make_unique<OpenMainWindow>();
        QVERIFY(m_open->Show());
        m_open->picks.push_back(m_folder->path());
        QTest::mouseClick(m_open->Control("1000"), Qt::LeftButton);
        QCOMPARE(m_open->Rows(), QStringList({"a.mid -> Alpha.mid", "b.mid -> Beta.mid",
                                              "Beta.mid -> <no title found>"}));
    }
    void cleanup() {
        m_open.reset();
        delete m_folder;
    }

    // Edit on: both names are offered (the first one changed). The second is to take
    // the name of the listed (untitled) Beta.mid, which is never replaced: no
    // question, and its row stays selected. The typed name stands: Edit off, Select
    // All and Rename leave it.
    void renameWithEditNeverReplacesAListedSong() {
        m_open->CtrlClickRows({0, 1});
        QTest::mouseClick(m_open->Control("1061"), Qt::LeftButton);
        QStringList offered;
        auto edit = [&](QWidget* dialog, const QString& name) {
            offered << dialog->findChild<QLineEdit*>()->text();
            dialog->findChild<QLineEdit*>()->setText(name);
            ClickButton(dialog, "OK");
        };
        AnswerNextModal([&](QWidget* first) {
            AnswerNextModal([&](QWidget* second) { edit(second, "Beta"); });
            edit(first, "Alpha Edited");
        });
        QTimer guard;  // a question would show up here: failed and answered No
        connect(&guard, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::qFail("asked", __FILE__, __LINE__), ClickButton(box, "No");
        });
        guard.start(10);
        QTest::mouseClick(m_open->Control("1062"), Qt::LeftButton);
        QCOMPARE(offered, QStringList({"Alpha", "Beta"}));
        QCOMPARE(FolderContents(m_folder->path()),
                 (Contents{{"Alpha Edited.mid", m_before.at("a.mid")},
                           {"Alpha Edited.txt", "lyrics"},
                           {"Beta.mid", m_before.at("Beta.mid")},
                           {"b.mid", m_before.at("b.mid")}}));
        const QStringList rows = {"Alpha Edited.mid -> Alpha Edited.mid", "b.mid -> Beta.mid",
                                  "Beta.mid -> <no title found>"};
        QCOMPARE(m_open->Rows(), rows);
        QCOMPARE(m_open->List()->GetSelectedItems(), (std::vector<std::int32_t>{1}));

        const Contents renamed = FolderContents(m_folder->path());
        QTest::mouseClick(m_open->Control("1061"), Qt::LeftButton);
        QTest::mouseClick(m_open->Control("1060"), Qt::LeftButton);
        QTest::mouseClick(m_open->Control("1062"), Qt::LeftButton);
        QCOMPARE(FolderContents(m_folder->path()), renamed);
        QCOMPARE(m_open->Rows(), rows);
    }

    // Cancel in the destination picker ends Copy+Rename before anything is copied:
    // nothing is stored and the rows stay as they were.
    void copyRenameCancelledInThePicker() {
        QTest::mouseClick(m_open->Control("1060"), Qt::LeftButton);
        const auto selected = m_open->List()->GetSelectedItems();
        QTest::mouseClick(m_open->Control("1063"), Qt::LeftButton);  // no pick: Cancel
        QCOMPARE(FolderContents(m_folder->path()), m_before);
        QCOMPARE(m_open->Rows().size(), 3);
        QCOMPARE(m_open->List()->GetSelectedItems(), selected);
    }

    // b.mid, then the listed folder, moved away while the destination picker is open:
    // told as a change found before it is, and the list is read again.
    void changeWhileThePickerIsOpen() {
        for (const std::string gone : {"b.mid", ""}) {
            TempDir destination;
            m_open->window->SetFolderPicker([&](QWidget*, bool, std::string& folder) {
                std::rename((*m_folder / gone).c_str(), (destination / "L2").c_str());
                folder = destination.path();
                return true;
            });
            QString text;
            AnswerNextMessageBox(QMessageBox::NoButton, &text);
            QTest::mouseClick(m_open->Control("1060"), Qt::LeftButton);
            QTest::mouseClick(m_open->Control("1063"), Qt::LeftButton);
            QCOMPARE(text, QString::fromStdString(SourceChangedMessage()));
            QCOMPARE(m_open->Rows().size(), gone.empty() ? 0 : 2);
            QCOMPARE(m_open->Control("1001")->toolTip().isEmpty(), gone.empty());
            QCOMPARE(ListFolder(destination.path()).size(), gone.empty() ? 1u : 3u);  // L2, Alpha.*
        }
    }

    // All selected (the untitled song is left alone); the destination's own
    // Beta.mid is kept by answering No, and its row stays selected.
    void copyRenameKeepingAnExistingFile() {
        TempDir destination;
        WriteWholeFile(destination / "Beta.mid", "keep me");
        QTest::mouseClick(m_open->Control("1060"), Qt::LeftButton);
        m_open->picks.push_back(destination.path());
        AnswerNextModal([](QWidget* question) { ClickButton(question, "No"); });
        QTest::mouseClick(m_open->Control("1063"), Qt::LeftButton);
        QCOMPARE(FolderContents(m_folder->path()), m_before);
        QCOMPARE(FolderContents(destination.path()), (Contents{{"Alpha.mid", m_before.at("a.mid")},
                                                               {"Alpha.txt", "lyrics"},
                                                               {"Beta.mid", "keep me"}}));
        QCOMPARE(m_open->Rows().size(), 3);
        QCOMPARE(m_open->List()->GetSelectedItems(), (std::vector<std::int32_t>{1, 2}));
    }

    // A blank pattern name is no title (no hidden ".PAT"), and a character cut by the
    // title cap goes whole: shown so, and renamed so.
    void blankPatternNameAndCutCharacter() {
        TempDir other;
        const std::string euros = "\xE2\x82\xAC\xE2\x82\xAC", name = std::string(30, 'e') + ".mid";
        songbytes::WriteBytes(other / "P1.PAT", songbytes::PatternFile("        ", 0));
        WriteSong(other / "e.mid", std::string(30, 'e') + euros);
        m_open->picks.push_back(other.path());
        QTest::mouseClick(m_open->Control("1000"), Qt::LeftButton);
        QCOMPARE(m_open->Rows(), QStringList({"e.mid -> " + QString::fromStdString(name),
                                              "P1.PAT -> <no title found>"}));
        QTest::mouseClick(m_open->Control("1060"), Qt::LeftButton);
        QTest::mouseClick(m_open->Control("1062"), Qt::LeftButton);
        QCOMPARE(ListFolder(other.path()), (std::vector<std::string>{"P1.PAT", name}));
    }

    // Save: the export dialog over the listed songs, owned by the window; blank
    // text chosen, the Save As step answered, the file written in list order and
    // the format remembered.
    void saveWritesTheList() {
        TempDir target;
        const std::string path = target / "names.txt";
        CSaveNamesDlg::s_saveAsStep = [&](QWidget*, const CSaveNamesDlg::SaveAsRequest&) {
            return QString::fromStdString(path);
        };
        AnswerNextModal([this](QWidget* dialog) {
            QVERIFY(qobject_cast<CSaveNamesDlg*>(dialog) &&
                    dialog->parent() == m_open->window.get());
            QTest::mouseClick(dialog->findChild<QWidget*>("1068"), Qt::LeftButton);
            ClickButton(dialog, "OK");
        });
        QTest::mouseClick(m_open->Control("1064"), Qt::LeftButton);
        CSaveNamesDlg::s_saveAsStep = nullptr;
        const auto pad = [](std::string name) { return name.append(40 - name.size(), ' ') + ' '; };
        QCOMPARE(FolderContents(target.path()).at("names.txt"),
                 "Old file name" + std::string(26, ' ') + "New file name\r\n" + pad("a.mid") +
                     "Alpha.mid\r\n" + pad("b.mid") + "Beta.mid\r\n" + pad("Beta.mid") +
                     "<no title found>\r\n");
        QCOMPARE(settings::ReadString("SaveFileType", "T"), QStringLiteral("B"));
        QCOMPARE(FolderContents(m_folder->path()), m_before);
    }
};

TT_GUI_TEST_MAIN(MainDlgOperationsTest)
#include "MainDlgOperationsTest.moc"
