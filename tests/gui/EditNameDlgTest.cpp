// The edit-name dialog: labels in both languages, the empty-name rule, cancel.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/UiLanguage.h"
#include "ui/EditNameDlg.h"

using namespace tt;

class EditNameDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void emptyNameRule_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("typed");  // "-" leaves the name as it is
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("result");  // the name on OK, "" for a cancel
        QTest::newRow("unchanged") << false << "-"
                                   << ""
                                   << "Song";
        QTest::newRow("edited") << true << "Neu"
                                << ""
                                << "Neu";
        QTest::newRow("one blank") << false << " "
                                   << ""
                                   << " ";
        QTest::newRow("empty, English") << false << ""
                                        << "Invalid filename!"
                                        << "";
        QTest::newRow("empty, German") << true << ""
                                       << "Ungültiger Dateiname!"
                                       << "";
    }
    void emptyNameRule() {
        QFETCH(bool, german);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QFETCH(QString, result);
        SetUiLanguage(german ? UiLanguage::german : UiLanguage::english);
        CEditNameDlg dialog;
        dialog.m_strName = QStringLiteral("Song");
        dialog.m_strExt = QStringLiteral(".mid");
        QString boxText;
        test::AnswerNextModal([&](QWidget*) {
            const auto text = [&](const char* id) {
                auto* label = dialog.findChild<QLabel*>(id);
                return label ? label->text() : dialog.findChild<QPushButton*>(id)->text();
            };
            const QStringList shown{dialog.windowTitle(), text("1011"), text("2"), text("1"),
                                    text("1014")};
            QCOMPARE(shown.join('|'), german ? "Dateiname ändern|Dateiname:|Abbrechen|OK|.mid"
                                             : "Edit Filename|Filename:|Cancel|OK|.mid");
            auto* edit = dialog.findChild<QLineEdit*>("1008");
            QVERIFY(edit->hasFocus() && edit->text() == "Song");
            if (typed.isEmpty())
                QTest::keyClick(edit, Qt::Key_Delete);  // the name starts selected
            else if (typed != "-")
                QTest::keyClicks(edit, typed);
            if (!refusal.isEmpty()) {
                test::AnswerNextModal([&](QWidget* box) {
                    boxText = static_cast<QMessageBox*>(box)->text();
                    test::ClickButton(box, QStringLiteral("OK"));
                });
            }
            QTest::keyClick(edit, Qt::Key_Return);
            if (dialog.isVisible())
                QTest::keyClick(edit, Qt::Key_Escape);  // still open to correct or cancel
        });
        const int answer = dialog.DoModal();
        QCOMPARE(boxText, refusal);
        QCOMPARE(answer, result.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
        if (answer == QDialog::Accepted)
            QCOMPARE(dialog.m_strName, result);
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    EditNameDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EditNameDlgTest.moc"
