// The language at start: the stored choice, or the dialog that asks for it once.
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "app/LanguageDlg.h"
#include "app/SettingsStore.h"
#include "app/UiLanguage.h"

using namespace tt;

class LanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void resolution_data() {
        QTest::addColumn<QString>("stored");  // null: nothing stored
        QTest::addColumn<QString>("answer");  // radio to click before OK, "close", or no dialog
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("G") << "G"
                           << "" << true << "G";
        QTest::newRow("E") << "E"
                           << "" << false << "E";
        QTest::newRow("lower case g asks") << "g"
                                           << "1056" << true << "G";
        QTest::newRow("a word asks") << "German"
                                     << "1057" << false << "E";
        QTest::newRow("nothing, closed") << QString() << "close" << false << QString();
    }
    void resolution() {
        QFETCH(QString, stored);
        QFETCH(QString, answer);
        QFETCH(bool, german);
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
            QTest::mouseClick(dialog->findChild<QWidget*>(answer), Qt::LeftButton);
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        timer.start(10);
        ResolveUiLanguage();
        QCOMPARE(shown, answer);
        QCOMPARE(CurrentUiLanguage() == UiLanguage::german, german);
        QCOMPARE(settings::ReadString(QStringLiteral("Language"), QString()), storedAfter);
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    LanguageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LanguageTest.moc"
