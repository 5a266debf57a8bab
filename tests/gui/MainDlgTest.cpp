// The main window's texts, enabling, keys, placement and resize rule.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "app/DialogUnits.h"
#include "app/MainWindowTitle.h"

using namespace tt;
using namespace tt::test;

class MainDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void textsAndStartState_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("texts");  // 1000 1015 1060..1066, the column titles
        QTest::newRow("English") << "E"
                                 << "Select Folder|Rename all corresponding files with same name "
                                    "(lyrics, ...)|Select All|Edit|Rename|Copy+Rename|Save|Help|"
                                    "Exit|Old Filename|New Filename";
        QTest::newRow("German") << "G"
                                << "Ordner wählen|Zugehörige Dateien mit gleichem Namen ebenfalls "
                                   "umbenennen (Lyrics,...)|Alle auswählen|Editieren|Umbenennen|"
                                   "Kop.+Umben.|Speichern|Hilfe|Ende|Alter Dateiname|Neuer "
                                   "Dateiname";
    }
    void textsAndStartState() {
        QFETCH(QString, language);
        QFETCH(QString, texts);
        OpenMainWindow open(qPrintable(language));
        QVERIFY(open.Show());
        QStringList shown;
        for (const char* id :
             {"1000", "1015", "1060", "1061", "1062", "1063", "1064", "1065", "1066"})
            shown << open.Control<QAbstractButton>(id)->text();
        for (int column : {0, 1})
            shown << open.List()->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(shown.join(QLatin1Char('|')), texts);
        // The same in both languages.
        QCOMPARE(open.window->windowTitle(), QString::fromUtf8(kMainWindowTitle));
        QCOMPARE(open.Control<QAbstractButton>("1007")->text(), QStringLiteral("*.mid"));
        QCOMPARE(open.window->findChild<QGroupBox*>()->title(), QStringLiteral("Files"));
        // Nothing listed yet; the type boxes on by default, Edit off.
        QVERIFY(open.Control<QLabel>("1001")->text().isEmpty());
        for (const char* id : {"1060", "1062", "1063", "1064"})
            QVERIFY2(!open.Control(id)->isEnabled(), id);
        for (const char* id : {"1007", "1008", "1009", "1015"})
            QVERIFY2(open.Control<QCheckBox>(id)->isChecked(), id);
        QVERIFY(!open.Control<QCheckBox>("1061")->isChecked() && open.List()->hasFocus());
    }

    // Which rows enable Rename, Select All toggling, and the type boxes keeping
    // one type on while every click reads the folder again.
    void selectionAndTypeBoxes() {
        TempDir folder;
        WriteSong(folder / "a.mid", "Alpha");
        WriteUntitledSong(folder / "u.mid", "x");
        WriteSong(folder / "s.sty", "Style");
        OpenMainWindow open;
        QVERIFY(open.Show());
        open.picks = {folder.path()};
        QTest::mouseClick(open.Control("1000"), Qt::LeftButton);
        QCOMPARE(open.Control<QLabel>("1001")->text(), QString::fromStdString(folder.path()));
        QCOMPARE(open.Rows(), QStringList({"a.mid -> Alpha.mid", "s.sty -> Style.sty",
                                           "u.mid -> <no title found>"}));
        QWidget* rename = open.Control("1062");
        QVERIFY(open.Control("1060")->isEnabled() && open.Control("1064")->isEnabled());
        open.CtrlClickRows({2});
        QVERIFY(!rename->isEnabled());
        open.CtrlClickRows({0});
        QVERIFY(rename->isEnabled() && open.Control("1063")->isEnabled());
        for (int selected : {3, 0}) {
            QTest::mouseClick(open.Control("1060"), Qt::LeftButton);
            QCOMPARE(open.List()->GetSelectedCount(), selected);
        }
        QVERIFY(!rename->isEnabled());

        auto click = [&](const char* id) {
            QTest::mouseClick(open.Control(id), Qt::LeftButton);
            QString on;
            for (const char* type : {"1007", "1008", "1009"})
                on += open.Control<QCheckBox>(type)->isChecked() ? QLatin1Char('1')
                                                                 : QLatin1Char('0');
            return on + QLatin1Char(' ') + QString::number(open.Rows().size());
        };
        QCOMPARE(click("1008"), QStringLiteral("101 2"));
        QCOMPARE(click("1009"), QStringLiteral("100 2"));
        QCOMPARE(click("1007"), QStringLiteral("010 1"));  // the last type on: *.sty comes back
        QCOMPARE(click("1008"), QStringLiteral("100 2"));  // and *.mid for *.sty
    }

    void enterIgnoredEscSaves() {
        OpenMainWindow open;
        settings::WriteString(QStringLiteral("Folder"), QStringLiteral("/earlier"));
        QVERIFY(open.Show());
        for (QWidget* target : {open.Control("1002"), open.Control("1066"), open.Control("1061")}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        }
        QVERIFY(open.window->isVisible() && !open.Control<QCheckBox>("1061")->isChecked());
        QCOMPARE(settings::ReadInt(QStringLiteral("WindowShowCmd"), -5), -5);

        QTest::mouseClick(open.Control("1015"), Qt::LeftButton);
        QTest::keyClick(open.List(), Qt::Key_Escape);
        QVERIFY(!open.window->isVisible());
        QCOMPARE(settings::ReadInt(QStringLiteral("CorrespondingFiles"), -5), 0);
        QCOMPARE(settings::ReadInt(QStringLiteral("MidFiles"), -5), 1);
        QCOMPARE(settings::ReadInt(QStringLiteral("WindowShowCmd"), -5), 1);
        const QRect shown = open.window->geometry();
        QCOMPARE(settings::ReadInt(QStringLiteral("WindowRight"), -5), shown.x() + shown.width());
        // No folder picked in this run: the stored ones stay.
        QCOMPARE(settings::ReadString(QStringLiteral("Folder"), {}), QStringLiteral("/earlier"));
        QVERIFY(settings::ReadString(QStringLiteral("DestinationFolder"), {}).isNull());
    }

    void placement_data() {
        QTest::addColumn<QList<int>>("stored");  // left, top, right, bottom, show command
        QTest::addColumn<QString>("expected");
        QTest::newRow("normal") << QList<int>{40, 30, 640, 450, 1} << "stored";
        QTest::newRow("maximised") << QList<int>{40, 30, 640, 450, 3} << "maximised";
        QTest::newRow("show minimised") << QList<int>{40, 30, 640, 450, 2} << "template";
        QTest::newRow("minimise") << QList<int>{40, 30, 640, 450, 6} << "template";
        QTest::newRow("edge -1") << QList<int>{40, -1, 640, 450, 1} << "template";
        QTest::newRow("off every screen") << QList<int>{9000, 9000, 9600, 9420, 1} << "primary";
    }
    void placement() {
        QFETCH(QList<int>, stored);
        QFETCH(QString, expected);
        OpenMainWindow open;
        const char* keys[] = {"WindowLeft", "WindowTop", "WindowRight", "WindowBottom",
                              "WindowShowCmd"};
        for (int i = 0; i < 5; ++i)
            settings::WriteInt(QString::fromLatin1(keys[i]), stored[i]);
        QVERIFY(open.Show());
        const QRect geometry = open.window->geometry();
        const QSize size(stored[2] - stored[0], stored[3] - stored[1]);
        if (expected == QLatin1String("stored"))
            QCOMPARE(geometry, QRect(QPoint(stored[0], stored[1]), size));
        else if (expected == QLatin1String("maximised"))
            QVERIFY(open.window->isMaximized());
        else if (expected == QLatin1String("template"))
            QCOMPARE(geometry.size(), DialogUnits(open.window->font()).Size(366, 255));
        else  // moved whole onto the primary screen
            QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(
                        open.window->frameGeometry()) &&
                    geometry.size() == size);
    }

    // The list stretches, the bottom row moves down, nothing follows the right
    // edge; too small a window moves nothing.
    void resizeRule() {
        OpenMainWindow open;
        QVERIFY(open.Show());
        auto geometries = [&]() {
            QList<QRect> rects;
            for (const char* id : {"1002", "1000", "1015", "1060", "1061", "1066"})
                rects << open.Control(id)->geometry();
            return rects;
        };
        QList<QRect> expected = geometries();
        expected[0].setSize(expected[0].size() + QSize(120, 80));
        for (int i = 3; i < 6; ++i)
            expected[i].translate(0, 80);
        open.window->resize(open.window->size() + QSize(120, 80));
        QTRY_COMPARE(geometries(), expected);
        open.window->resize(30, 30);
        QTest::qWait(50);
        QCOMPARE(geometries(), expected);
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    MainDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainDlgTest.moc"
