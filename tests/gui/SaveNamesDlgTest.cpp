// The export dialog: the remembered format, the Save As dialog it asks with, the
// file written, and the messages when the file cannot be written.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include "FaultyFileSystem.h"
#include "GuiTestSupport.h"
#include "TempDir.h"
#include "app/SettingsStore.h"
#include "app/UiLanguage.h"
#include "export/NameListWriter.h"
#include "export/SaveNamesDlg.h"

using namespace tt;

namespace {

const QString kKey = QStringLiteral("SaveFileType");

SongFileList SomeEntries() {
    SongFileList list;
    list.Append({"/m/Grüße.mid", "Grüße.mid", "Hello.mid", 1, 0, {}});
    list.Append({"/m/b.sty", "b.sty", "", 0, 0, {}});
    return list;
}

}  // namespace

class SaveNamesDlgTest : public QObject {
    Q_OBJECT

  private slots:
    // Through the toolkit's own Save As dialog, whose default suffix completes a
    // bare name.
    void savesInTheChosenFormat_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("stored");  // "-": no setting yet
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saveAs");  // title|filter|suffix
        QTest::newRow("nothing stored")
            << false << "-"
            << "1067"
            << "1068"
            << "Save Midi names in text file (blanks)|Textdatei (*.txt)|txt";
        QTest::newRow("lower case t")
            << false << "t"
            << "1067"
            << "1067"
            << "Save Midi names in text file (tabs)|Textdatei (*.txt)|txt";
        QTest::newRow("unknown letter")
            << true << "X"
            << "1067"
            << "1067"
            << "Midi-Dateinamen in Textdatei (Tabs) speichern|Textdatei (*.txt)|txt";
        QTest::newRow("blanks")
            << true << "B"
            << "1068"
            << "1069"
            << "Midi-Dateinamen in Excel-Datei speichern|Excel-Datei (*.xls)|xls";
        QTest::newRow("spreadsheet") << false << "E"
                                     << "1069"
                                     << "1069"
                                     << "Save Midi names in Excel file|Excel-Datei (*.xls)|xls";
    }
    void savesInTheChosenFormat() {
        QFETCH(bool, german);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, chosen);
        QFETCH(QString, saveAs);
        SetUiLanguage(german ? UiLanguage::german : UiLanguage::english);
        if (stored != "-")
            settings::WriteString(kKey, stored);
        test::TempDir folder;
        const SongFileList list = SomeEntries();
        CSaveNamesDlg dialog(list, nullptr);
        test::AnswerNextModal([&](QWidget*) {
            QCOMPARE(dialog.windowTitle(),
                     german ? "Midi-Dateinamen speichern" : "Save Midi Names");
            QVERIFY(dialog.findChild<QRadioButton*>(shown)->isChecked());
            dialog.findChild<QRadioButton*>(chosen)->click();
            test::AnswerNextModal([&](QWidget* shownBox) {
                auto* box = qobject_cast<QFileDialog*>(shownBox);
                QVERIFY(box != nullptr && box->acceptMode() == QFileDialog::AcceptSave);
                QCOMPARE(QStringList({box->windowTitle(), box->nameFilters().join(';'),
                                      box->defaultSuffix()})
                             .join('|'),
                         saveAs);
                box->selectFile(QString::fromStdString(folder / "names"));
                QMetaObject::invokeMethod(box, "accept");
            });
            test::ClickButton(&dialog, QStringLiteral("OK"));
        });
        QCOMPARE(dialog.DoModal(), QDialog::Accepted);
        const auto format = static_cast<NameListFormat>(chosen.toInt() - 1067);
        QCOMPARE(test::ReadWholeFile(folder / "names." + saveAs.right(3).toStdString()),
                 NameListContent(list, format));
        QCOMPARE(settings::ReadString(kKey, {}), SettingFromNameListFormat(format));
    }

    // Every way out of the Save As step stores the format and closes the dialog;
    // a file that cannot be made or written is reported, never taken for saved.
    // Closed without OK, nothing is asked, written or stored.
    void failuresAreReported_data() {
        QTest::addColumn<QString>("name");  // "": Save As cancelled, "-": dialog closed
        QTest::addColumn<bool>("failWrite");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << "" << false << "";
        QTest::newRow("closed") << "-" << false << "";
        QTest::newRow("folder missing") << "missing/names.txt" << false << "Error creating file!";
        QTest::newRow("disk full") << "names.txt" << true << "disk full";
    }
    void failuresAreReported() {
        QFETCH(QString, name);
        QFETCH(bool, failWrite);
        QFETCH(QString, message);
        SetUiLanguage(UiLanguage::english);
        settings::WriteString(kKey, QStringLiteral("T"));
        test::TempDir folder;
        const std::string target = name.isEmpty() ? "" : folder / name.toStdString();
        bool asked = false;
        CSaveNamesDlg::s_saveAsStep = [&](QWidget*, const CSaveNamesDlg::SaveAsRequest&) {
            asked = true;
            return QString::fromStdString(target);
        };
        test::FaultyFileSystem fs;
        if (failWrite)
            fs.FailFirst(test::FaultyFileSystem::Step::write, FileErrorCause::diskFull);
        const SongFileList list = SomeEntries();
        CSaveNamesDlg dialog(list, nullptr);
        dialog.m_pFileSystem = &fs;
        QString shownText;
        test::AnswerNextModal([&](QWidget*) {
            dialog.findChild<QRadioButton*>("1068")->click();
            if (!message.isEmpty()) {
                test::AnswerNextModal([&](QWidget* error) {
                    shownText = static_cast<QMessageBox*>(error)->text();
                    test::ClickButton(error, QStringLiteral("OK"));
                });
            }
            if (name == "-")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                test::ClickButton(&dialog, QStringLiteral("OK"));
        });
        QCOMPARE(dialog.DoModal(), name == "-" ? QDialog::Rejected : QDialog::Accepted);
        CSaveNamesDlg::s_saveAsStep = nullptr;
        if (failWrite)
            message = QString::fromStdString(FileError(FileErrorCause::diskFull, target).what());
        QCOMPARE(shownText, message);
        QCOMPARE(asked, name != "-");
        QVERIFY(test::ListFolder(folder.path()).empty());
        QCOMPARE(settings::ReadString(kKey, {}), name == "-" ? "T" : "B");
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    SaveNamesDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SaveNamesDlgTest.moc"
