// Rename, Copy+Rename and Save through the real main window, from picking the
// folder to the files on disk and the rows of the list.
#include <QLineEdit>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "desktop/SettingsStore.h"
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

    // Edit on: both names are offered (the first one changed), then the question
    // about the existing Beta.mid is answered Yes.
    void renameWithEditAndOverwrite() {
        m_open->CtrlClickRows({0, 1});
        QTest::mouseClick(m_open->Control("1061"), Qt::LeftButton);
        QStringList offered;
        auto edit = [&](QWidget* dialog, const QString& name, std::function<void(QWidget*)> next) {
            offered << dialog->findChild<QLineEdit*>()->text();
            dialog->findChild<QLineEdit*>()->setText(name);
            AnswerNextModal(std::move(next));
            ClickButton(dialog, "OK");
        };
        AnswerNextModal([&](QWidget* first) {
            edit(first, "Alpha Edited", [&](QWidget* second) {
                edit(second, "Beta", [](QWidget* question) { ClickButton(question, "Yes"); });
            });
        });
        QTest::mouseClick(m_open->Control("1062"), Qt::LeftButton);
        QCOMPARE(offered, QStringList({"Alpha", "Beta"}));
        QCOMPARE(FolderContents(m_folder->path()),
                 (Contents{{"Alpha Edited.mid", m_before.at("a.mid")},
                           {"Alpha Edited.txt", "lyrics"},
                           {"Beta.mid", m_before.at("b.mid")}}));
        QCOMPARE(m_open->Rows(),
                 QStringList({"Alpha Edited.mid -> Alpha.mid", "Beta.mid -> Beta.mid",
                              "Beta.mid -> <no title found>"}));
        QVERIFY(m_open->List()->GetSelectedCount() == 0 && !m_open->Control("1062")->isEnabled());
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
