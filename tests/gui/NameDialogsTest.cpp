// The edit-name dialog's name check and old name, and the export dialog: remembered format,
// Save As parameters, the file written, and what the user is told when it cannot
// be written.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <tuple>

#include "FaultyFileSystem.h"
#include "GuiTestSupport.h"
#include "TempDir.h"
#include "desktop/MessageBoxes.h"
#include "desktop/SettingsStore.h"
#include "export/NameListWriter.h"
#include "text/UiLanguage.h"
#include "ui/EditNameDlg.h"
#include "ui/SaveNamesDlg.h"

using namespace tt;

namespace {

// Answers the next message box with OK, keeping its text.
void AnswerBox(QString& text) {
    test::AnswerNextModal([&text](QWidget* box) {
        text = static_cast<QMessageBox*>(box)->text();
        test::ClickButton(box, QStringLiteral("OK"));
    });
}

}  // namespace

class NameDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void editNameRefusesNamesThatAreNoPlainFileNames() {
        struct Case {
            UiLanguage language;
            QString typed;    // "-" leaves the name as it is
            QString refusal;  // then the dialog is cancelled
        };
        for (const Case& c : {Case{UiLanguage::english, "-", ""},
                              {UiLanguage::german, " ", ""},
                              {UiLanguage::english, "", "Invalid filename!"},
                              {UiLanguage::german, "", "Ungültiger Dateiname!"},
                              {UiLanguage::english, "..", "Invalid filename!"},
                              {UiLanguage::german, ".hidden", "Ungültiger Dateiname!"},
                              {UiLanguage::english, "a/b", "Invalid filename!"}}) {
            SetUiLanguage(c.language);
            CEditNameDlg dialog;
            dialog.m_strName = QStringLiteral("Song");
            dialog.m_strExt = QStringLiteral(".mid");
            dialog.m_strOldName = QStringLiteral("SONG0001.MID");
            QString boxText;
            bool readyToRetype = false;
            test::AnswerNextModal([&](QWidget*) {
                auto* edit = dialog.findChild<QLineEdit*>("1008");
                if (c.typed != "-")  // the name starts selected: typing replaces it
                    c.typed.isEmpty() ? QTest::keyClick(edit, Qt::Key_Delete)
                                      : QTest::keyClicks(edit, c.typed);
                if (!c.refusal.isEmpty())
                    AnswerBox(boxText);
                QTest::keyClick(edit, Qt::Key_Return);
                if (dialog.isVisible()) {  // still open, the refused name ready to type over
                    readyToRetype =
                        dialog.focusWidget() == edit && edit->selectedText() == edit->text();
                    QTest::keyClick(edit, Qt::Key_Escape);
                }
            });
            QCOMPARE(dialog.DoModal(), c.refusal.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
            QCOMPARE(boxText, c.refusal);
            QCOMPARE(readyToRetype, !c.refusal.isEmpty());
            QCOMPARE(dialog.m_strName, c.typed == "-" ? QStringLiteral("Song") : c.typed);
            QCOMPARE(dialog.findChild<QLabel*>("oldName")->text(),
                     QString(c.language == UiLanguage::german ? "Alter Dateiname: SONG0001.MID"
                                                              : "Old file name: SONG0001.MID"));
        }
    }

    // The format shown comes from the setting; every way out of the Save As step
    // stores the chosen one; a file that cannot be made or written is reported,
    // never taken for saved. Closed without OK, nothing is asked, written or stored.
    void exportWritesTheChosenFormat() {
        struct Case {
            QString stored, shown, chosen;
            QString name;  // "": Save As cancelled, "-": dialog closed
            QString message;
            QString saveAs;  // title|filters|suffix
        };
        const QString tabs = "Save Midi names in text file (tabs)|Textdatei (*.txt)|txt";
        const QString excel = "Midi-Dateinamen in Excel-Datei speichern|Excel-Datei (*.xls)|xls";
        for (const Case& c :
             {Case{"", "1067", "1069", "a.xls", "", excel},
              {"t", "1067", "1069", "a.xls", "", excel},
              {"B", "1068", "1067", "a.txt", "", tabs},
              {"E", "1069", "1067", "", "", tabs},
              {"E", "1069", "1067", "-", "", ""},
              {"T", "1067", "1069", "no/a.xls", "Fehler beim Erstellen der Datei!", excel},
              {"T", "1067", "1067", "a.txt", "disk full", tabs}}) {
            SetUiLanguage(c.chosen == "1069" ? UiLanguage::german : UiLanguage::english);
            settings::WriteString(QStringLiteral("SaveFileType"), c.stored);
            test::TempDir folder;
            const std::string target = c.name.isEmpty() ? "" : folder / c.name.toStdString();
            QString asked, boxText, message = c.message;
            CSaveNamesDlg::s_saveAsStep = [&](QWidget*, const CSaveNamesDlg::SaveAsRequest& r) {
                asked = r.title + '|' + r.nameFilters.join(';') + '|' + r.defaultSuffix;
                return QString::fromStdString(target);
            };
            test::FaultyFileSystem fs;
            if (message == "disk full") {
                fs.FailFirst(test::FaultyFileSystem::Step::write, FileErrorCause::diskFull);
                message = FileError(FileErrorCause::diskFull, target).what();
            }
            SongFileList list;
            list.Append({"/m/Grüße.mid", "Grüße.mid", "Hello.mid", 1, 0, {}});
            list.Append({"/m/b.sty", "b.sty", "", 0, 0, {}});
            CSaveNamesDlg dialog(list, nullptr);
            dialog.m_pFileSystem = &fs;
            test::AnswerNextModal([&](QWidget*) {
                QVERIFY(dialog.findChild<QRadioButton*>(c.shown)->isChecked());
                dialog.findChild<QRadioButton*>(c.chosen)->click();
                if (!message.isEmpty())
                    AnswerBox(boxText);
                c.name == "-" ? QTest::keyClick(&dialog, Qt::Key_Escape)
                              : test::ClickButton(&dialog, QStringLiteral("OK"));
            });
            QCOMPARE(dialog.DoModal(), c.name == "-" ? QDialog::Rejected : QDialog::Accepted);
            QCOMPARE(boxText, message);
            QCOMPARE(asked, c.saveAs);
            // Nothing else is left in the folder: no temporary file after a failure.
            const auto format = static_cast<NameListFormat>(c.chosen.toInt() - 1067);
            const bool written = message.isEmpty() && c.name.contains('.');
            QCOMPARE(test::ListFolder(folder.path()).size(), written ? 1u : 0u);
            if (written)
                QCOMPARE(test::ReadWholeFile(target), NameListContent(list, format));
            QCOMPARE(settings::ReadString(QStringLiteral("SaveFileType"), {}),
                     c.name == "-" ? c.stored : SettingFromNameListFormat(format));
        }
        CSaveNamesDlg::s_saveAsStep = nullptr;
    }

    // The Save As step starts in the listed folder, then where a list was last
    // saved in this run, and proposes the listed folder's name.
    void saveAsStartsWhereTheListIs() {
        CSaveNamesDlg::s_lastSaveFolder.clear();
        test::TempDir saved;
        QStringList asked;
        CSaveNamesDlg::s_saveAsStep = [&](QWidget*, const CSaveNamesDlg::SaveAsRequest& r) {
            asked << r.directory + '|' + r.fileName;
            return QString::fromStdString(saved / "list.xls");
        };
        settings::WriteString("SaveFileType", "E");
        for (SongFileList list; asked.size() < 2;) {
            CSaveNamesDlg dialog(list, nullptr);
            dialog.m_strListedFolder = "/m/Keyboard";
            test::AnswerNextModal([&](QWidget*) { test::ClickButton(&dialog, "OK"); });
            dialog.DoModal();
        }
        QCOMPARE(asked, QStringList({"/m/Keyboard|Keyboard.xls",
                                     QString::fromStdString(saved.path()) + "|Keyboard.xls"}));
    }

    // Enter presses the button that has the focus, in each dialog and box.
    void enterPressesTheFocusedButton() {
        SetUiLanguage(UiLanguage::english);
        CSaveNamesDlg::s_saveAsStep = [](QWidget*, const auto&) { return QString(); };
        const std::tuple<const char*, std::function<int()>, int> cases[] = {
            {"2", [] { return CEditNameDlg().DoModal(); }, QDialog::Rejected},  // Cancel
            {"1", [] { return CSaveNamesDlg(SongFileList(), nullptr).DoModal(); },
             QDialog::Accepted},
            {"No", [] { return int(AskOverwriteBox(nullptr, "?")); }, int(OverwriteAnswer::no)}};
        for (const auto& [button, run, result] : cases) {
            test::AnswerNextModal([button = QString::fromLatin1(button)](QWidget* dialog) {
                for (QPushButton* candidate : dialog->findChildren<QPushButton*>()) {
                    if (candidate->objectName() == button ||
                        candidate->text().remove('&') == button)
                        return candidate->setFocus(), QTest::keyClick(candidate, Qt::Key_Return);
                }
            });
            QCOMPARE(run(), result);
        }
        CSaveNamesDlg::s_saveAsStep = nullptr;
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    tt::test::FailUnexpectedMessageBoxes();
    NameDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NameDialogsTest.moc"
