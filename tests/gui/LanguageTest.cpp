// The language at start: the stored choice, or the dialog that asks for it once.
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "desktop/SettingsStore.h"
#include "text/UiLanguage.h"
#include "ui/LanguageDlg.h"

using namespace tt;

class LanguageTest : public QObject {
    Q_OBJECT

  private slots:
    // Rows: stored value (null: none), radio clicked before OK ("close": closed
    // without OK, empty: no dialog expected), value stored afterwards; the run is
    // German exactly when that is "G".
    void resolution_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("storedAfter");
        const char* rows[][4] = {{"G", "G", nullptr, "G"},
                                 {"E", "E", nullptr, "E"},
                                 {"lower case g asks", "g", "1056", "G"},
                                 {"a word asks", "German", "1057", "E"},
                                 {"arrow keys choose", "", "Down", "E"},  // then Enter on OK
                                 {"nothing, closed", nullptr, "close", nullptr}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2])
                                  << QString::fromLatin1(row[3]);
    }
    void resolution() {
        QFETCH(QString, stored);
        QFETCH(QString, answer);
        QFETCH(QString, storedAfter);
        QFile::remove(settings::FilePath());
        SetUiLanguage(UiLanguage::english);
        if (!stored.isNull())
            settings::WriteString(QStringLiteral("Language"), stored);
        QString shown;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&]() {
            auto* dialog = qobject_cast<CLanguageDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible())
                return;
            timer.stop();
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("1"));
            shown = ok->isEnabled() ? QStringLiteral("OK enabled") : answer;
            if (answer == QLatin1String("close"))
                return (void)dialog->close();
            if (answer.startsWith(QLatin1String("Down"))) {
                dialog->findChild<QWidget*>("1056")->setFocus();
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Down);
                ok->setFocus();
                return QTest::keyClick(ok, Qt::Key_Return);
            }
            QTest::mouseClick(dialog->findChild<QWidget*>(answer), Qt::LeftButton);
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        timer.start(10);
        ResolveUiLanguage();
        QCOMPARE(shown, answer);
        QCOMPARE(CurrentUiLanguage() == UiLanguage::german, storedAfter == QLatin1String("G"));
        QCOMPARE(settings::ReadString(QStringLiteral("Language"), QString()), storedAfter);
    }
};

TT_GUI_TEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
