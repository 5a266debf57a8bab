// The language at start: the stored choice, or the dialog that asks for it once.
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

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
        QTest::addColumn<QString>("answer");  // radio id to click then OK, or "close"
        QTest::addColumn<bool>("dialogShown");
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("G") << "G"
                           << "" << false << true << "G";
        QTest::newRow("E") << "E"
                           << "" << false << false << "E";
        QTest::newRow("lower case g asks") << "g"
                                           << "1056" << true << true << "G";
        QTest::newRow("a word asks") << "German"
                                     << "1057" << true << false << "E";
        QTest::newRow("nothing stored, closed")
            << QString() << "close" << true << false << QString();
    }
    void resolution() {
        QFETCH(QString, stored);
        QFETCH(QString, answer);
        QFETCH(bool, dialogShown);
        QFETCH(bool, german);
        QFETCH(QString, storedAfter);
        QFile::remove(settings::FilePath());
        SetUiLanguage(UiLanguage::english);
        if (!stored.isNull())
            settings::WriteString(QStringLiteral("Language"), stored);

        bool shown = false;
        QTimer timer;
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, [&]() {
            auto* dialog = qobject_cast<CLanguageDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible())
                return;
            timer.stop();
            shown = true;
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("1"));
            QVERIFY(ok != nullptr && !ok->isEnabled());
            if (answer == QLatin1String("close")) {
                dialog->close();
                return;
            }
            QTest::mouseClick(dialog->findChild<QRadioButton*>(answer), Qt::LeftButton);
            QVERIFY(ok->isEnabled());
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        timer.start();
        ResolveUiLanguage();
        QCOMPARE(shown, dialogShown);
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
