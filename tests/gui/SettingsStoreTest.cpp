// The settings file: JSON, integers and strings kept apart, broken files read as defaults.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "GuiTestSupport.h"
#include "desktop/SettingsStore.h"

using namespace tt;

class SettingsStoreTest : public QObject {
    Q_OBJECT

  private:
    static void WriteFile(const QByteArray& content) {
        QDir().mkpath(QFileInfo(settings::FilePath()).absolutePath());
        QFile file(settings::FilePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

  private slots:
    void init() {
        QFile::remove(settings::FilePath());
        QDir(settings::FilePath()).removeRecursively();
    }

    void placeAndLayout() {
        QVERIFY(settings::FilePath().endsWith(QStringLiteral("/Quillmoor/") +
                                              QCoreApplication::applicationName() +
                                              QStringLiteral(".json")));
        settings::WriteString(QStringLiteral("Language"), QStringLiteral("G"));
        settings::WriteInt(QStringLiteral("MidFiles"), 0);
        QFile file(settings::FilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject values =
            QJsonDocument::fromJson(file.readAll()).object().value("Settings").toObject();
        QCOMPARE(values.value("Language").toString(), QStringLiteral("G"));
        QVERIFY(values.value("MidFiles").isDouble());
        QCOMPARE(values.value("MidFiles").toInt(), 0);
    }

    void typesKeptApart() {
        settings::WriteString(QStringLiteral("WindowLeft"), QStringLiteral("12"));
        settings::WriteInt(QStringLiteral("Folder"), 7);
        QCOMPARE(settings::ReadInt(QStringLiteral("WindowLeft"), -1), -1);
        QCOMPARE(settings::ReadString(QStringLiteral("Folder"), QStringLiteral("d")),
                 QStringLiteral("d"));
        settings::WriteInt(QStringLiteral("WindowLeft"), -300);
        QCOMPARE(settings::ReadInt(QStringLiteral("WindowLeft"), -1), -300);
    }

    // A batch writes its keys together when it ends and reads what it wrote.
    void batchWritesOnceAtItsEnd() {
        const QString file = settings::FilePath();
        {
            const settings::Batch batch;
            settings::WriteInt(QStringLiteral("PatFiles"), 0);
            QCOMPARE(settings::ReadInt(QStringLiteral("PatFiles"), 1), 0);
            QVERIFY(!QFile::exists(file));
        }
        QCOMPARE(settings::ReadInt(QStringLiteral("PatFiles"), 1), 0);
    }

    void brokenFilesReadAsDefaults_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not json") << QByteArray("{\"Settings\": {\"MidFiles\": 0");
        QTest::newRow("array") << QByteArray("[1, 2]");
        QTest::newRow("section not an object") << QByteArray("{\"Settings\": 5}");
        QTest::newRow("wrong value types")
            << QByteArray("{\"Settings\": {\"MidFiles\": [0], \"Language\": {\"a\": 1}}}");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe", 3);
    }
    void brokenFilesReadAsDefaults() {
        QFETCH(QByteArray, content);
        WriteFile(content);
        QCOMPARE(settings::ReadInt(QStringLiteral("MidFiles"), 1), 1);
        QCOMPARE(settings::ReadString(QStringLiteral("Language"), QString()), QString());
    }

    void folderInPlaceOfTheFile() {
        QVERIFY(QDir().mkpath(settings::FilePath()));
        QCOMPARE(settings::ReadInt(QStringLiteral("MidFiles"), 1), 1);
        settings::WriteInt(QStringLiteral("MidFiles"), 0);  // ignored, no crash
        QCOMPARE(settings::ReadInt(QStringLiteral("MidFiles"), 1), 1);
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QCoreApplication app(argc, argv);
    SettingsStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SettingsStoreTest.moc"
