// The window icon: compiled into the program and drawable at menu size.
#include <QIcon>
#include <QImage>
#include <QtTest>

#include "desktop/AppIcon.h"

class AppIconTest : public QObject {
    Q_OBJECT

  private slots:
    void drawsAtEverySize_data() {
        QTest::addColumn<int>("size");
        for (const int size : {16, 32, 256})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }

    // A missing resource or a missing SVG plugin both give an empty picture.
    void drawsAtEverySize() {
        QFETCH(int, size);
        const QImage image = tt::AppIcon().pixmap(size, size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128;
        QVERIFY2(opaque > size * size / 4, qPrintable(QString::number(opaque)));
    }
};

QTEST_MAIN(AppIconTest)
#include "AppIconTest.moc"
