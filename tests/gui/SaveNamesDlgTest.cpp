// The export dialog: the remembered format, the Save As step it asks with, the
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

// Whichever radio button is checked, by id; "" for none.
QString CheckedRadio(QWidget* dialog) {
    for (auto* radio : dialog->findChildren<QRadioButton*>())
        if (radio->isChecked())
            return radio->objectName();
    return {};
}

}  // namespace

class SaveNamesDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { CSaveNamesDlg::s_saveAsStep = nullptr; }

    void savesInTheChosenFormat_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("stored");  // "-": no setting yet
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("filter");
        const QString text = QStringLiteral("Textdatei (*.txt)");
        QTest::newRow("nothing stored") << false << "-"
                                        << "1067"
                                        << "1068"
                                        << "Save Midi names in text file (blanks)"
                                        << "txt" << text;
        QTest::newRow("lower case t") << false << "t"
                                      << "1067"
                                      << "1067"
                                      << "Save Midi names in text file (tabs)"
                                      << "txt" << text;
        QTest::newRow("unknown letter") << true << "X"
                                        << "1067"
                                        << "1067"
                                        << "Midi-Dateinamen in Textdatei (Tabs) speichern"
                                        << "txt" << text;
        QTest::newRow("blanks") << true << "B"
                                << "1068"
                                << "1069"
                                << "Midi-Dateinamen in Excel-Datei speichern"
                                << "xls"
                                << "Excel-Datei (*.xls)";
        QTest::newRow("spreadsheet") << false << "E"
                                     << "1069"
                                     << "1069"
                                     << "Save Midi names in Excel file"
                                     << "xls"
                                     << "Excel-Datei (*.xls)";
    }
    void savesInTheChosenFormat() {
        QFETCH(bool, german);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, chosen);
        QFETCH(QString, title);
        QFETCH(QString, suffix);
        QFETCH(QString, filter);
        SetUiLanguage(german ? UiLanguage::german : UiLanguage::english);
        if (stored != "-")
            settings::WriteString(kKey, stored);
        test::TempDir folder;
        const std::string target = folder / "names.txt";
        CSaveNamesDlg::SaveAsRequest asked;
        CSaveNamesDlg::s_saveAsStep = [&](QWidget*, const CSaveNamesDlg::SaveAsRequest& request) {
            asked = request;
            return QString::fromStdString(target);
        };
        const SongFileList list = SomeEntries();
        CSaveNamesDlg dialog(list, nullptr);
        test::AnswerNextModal([&](QWidget* box) {
            QCOMPARE(box->windowTitle(), german ? QStringLiteral("Midi-Dateinamen speichern")
                                                : QStringLiteral("Save Midi Names"));
            QCOMPARE(CheckedRadio(box), shown);
            box->findChild<QRadioButton*>(chosen)->click();
            test::ClickButton(box, QStringLiteral("OK"));
        });
        QCOMPARE(dialog.DoModal(), QDialog::Accepted);
        QCOMPARE(asked.title, title);
        QCOMPARE(asked.defaultSuffix, suffix);
        QCOMPARE(asked.nameFilters, QStringList{filter});
        const auto format = static_cast<NameListFormat>(chosen.toInt() - 1067);
        QCOMPARE(test::ReadWholeFile(target), NameListContent(list, format));
        QCOMPARE(settings::ReadString(kKey, {}), SettingFromNameListFormat(format));
    }

    // Without a replacement the toolkit's Save As dialog asks, and its default
    // suffix completes a bare name.
    void toolkitSaveAsDialog() {
        SetUiLanguage(UiLanguage::english);
        settings::WriteString(kKey, QStringLiteral("E"));
        test::TempDir folder;
        const SongFileList list = SomeEntries();
        CSaveNamesDlg dialog(list, nullptr);
        test::AnswerNextModal([&](QWidget* box) {
            test::AnswerNextModal([&](QWidget* shown) {
                auto* saveAs = qobject_cast<QFileDialog*>(shown);
                QVERIFY(saveAs != nullptr);
                QCOMPARE(saveAs->windowTitle(), QStringLiteral("Save Midi names in Excel file"));
                QCOMPARE(saveAs->acceptMode(), QFileDialog::AcceptSave);
                QCOMPARE(saveAs->defaultSuffix(), QStringLiteral("xls"));
                saveAs->selectFile(QString::fromStdString(folder / "names"));
                QMetaObject::invokeMethod(saveAs, "accept");
            });
            test::ClickButton(box, QStringLiteral("OK"));
        });
        QCOMPARE(dialog.DoModal(), QDialog::Accepted);
        QCOMPARE(test::ReadWholeFile(folder / "names.xls"),
                 NameListContent(list, NameListFormat::spreadsheet));
    }

    void closedWithoutOkChangesNothing() {
        settings::WriteString(kKey, QStringLiteral("B"));
        bool asked = false;
        CSaveNamesDlg::s_saveAsStep = [&](QWidget*, const CSaveNamesDlg::SaveAsRequest&) {
            asked = true;
            return QString();
        };
        const SongFileList list = SomeEntries();
        CSaveNamesDlg dialog(list, nullptr);
        test::AnswerNextModal([&](QWidget* box) {
            box->findChild<QRadioButton*>("1069")->click();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(dialog.DoModal(), QDialog::Rejected);
        QVERIFY(!asked);
        QCOMPARE(settings::ReadString(kKey, {}), QStringLiteral("B"));
    }

    // Every way out of the Save As step stores the format and closes the dialog;
    // a file that cannot be made or written is reported, never taken for saved.
    void failuresAreReported_data() {
        QTest::addColumn<QString>("name");  // "": Save As cancelled
        QTest::addColumn<bool>("failWrite");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << "" << false << "";
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
        CSaveNamesDlg::s_saveAsStep = [&](QWidget*, const CSaveNamesDlg::SaveAsRequest&) {
            return QString::fromStdString(target);
        };
        test::FaultyFileSystem fs;
        if (failWrite)
            fs.FailFirst(test::FaultyFileSystem::Step::write, FileErrorCause::diskFull);
        const SongFileList list = SomeEntries();
        CSaveNamesDlg dialog(list, nullptr);
        dialog.m_pFileSystem = &fs;
        QString shownText;
        test::AnswerNextModal([&](QWidget* box) {
            box->findChild<QRadioButton*>("1068")->click();
            if (!message.isEmpty()) {
                test::AnswerNextModal([&](QWidget* error) {
                    shownText = static_cast<QMessageBox*>(error)->text();
                    test::ClickButton(error, QStringLiteral("OK"));
                });
            }
            test::ClickButton(box, QStringLiteral("OK"));
        });
        QCOMPARE(dialog.DoModal(), QDialog::Accepted);
        if (failWrite)
            message =
                QString::fromStdString(FileError(FileErrorCause::diskFull, target).StandardText());
        QCOMPARE(shownText, message);
        QVERIFY(test::ListFolder(folder.path()).empty());
        QCOMPARE(settings::ReadString(kKey, {}), QStringLiteral("B"));
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    SaveNamesDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SaveNamesDlgTest.moc"
