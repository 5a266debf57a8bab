// The main window's texts, enabling, keys, placement and resize rule.
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "desktop/DialogUnits.h"
#include "desktop/HelpPage.h"
#include "desktop/MainWindowTitle.h"
#include "desktop/ScreenFit.h"
#include "ui/PathLabel.h"

using namespace tt;
using namespace tt::test;

class MainDlgTest : public QObject {
    Q_OBJECT

  private slots:
    // German labels where they have a German form, the rest as in English; the
    // state before any folder is picked.
    void germanTextsStartEnterAndEsc() {
        OpenMainWindow open("G");
        settings::WriteString(QStringLiteral("Folder"), QStringLiteral("/earlier"));
        QVERIFY(open.Show());
        QStringList shown;
        for (const char* id :
             {"1000", "1015", "1060", "1061", "1062", "1063", "1064", "1065", "1066"})
            shown << open.Control<QAbstractButton>(id)->text();
        for (int column : {0, 1})
            shown << open.List()->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(
            shown.join(QLatin1Char('|')),
            QStringLiteral("Ordner wählen|Zugehörige Dateien mit gleichem Namen ebenfalls "
                           "umbenennen (Lyrics,...)|Alle auswählen|Editieren|Umbenennen|"
                           "Kop.+Umben.|Speichern|Hilfe|Ende|Alter Dateiname|Neuer Dateiname"));
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

        // Enter does nothing anywhere; Esc closes and saves.
        for (QWidget* target : {open.Control("1002"), open.Control("1066"), open.Control("1061")}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
        }
        QVERIFY(open.window->isVisible() && !open.Control<QCheckBox>("1061")->isChecked());
        QCOMPARE(settings::ReadInt(QStringLiteral("WindowShowCmd"), -5), -5);

        QTest::mouseClick(open.Control("1015"), Qt::LeftButton);
        QTest::keyClick(open.List(), Qt::Key_Escape);
        QVERIFY(!open.window->isVisible());
        QCOMPARE(settings::ReadInt(QStringLiteral("CorrespondingFiles"), -5), 0);
        QCOMPARE(settings::ReadInt(QStringLiteral("MidFiles"), -5), 1);
        QCOMPARE(settings::ReadInt(QStringLiteral("WindowShowCmd"), -5), 1);
        // No folder picked in this run: the stored ones stay.
        QCOMPARE(settings::ReadString(QStringLiteral("Folder"), {}), QStringLiteral("/earlier"));
        QVERIFY(settings::ReadString(QStringLiteral("DestinationFolder"), {}).isNull());
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
        TempDir empty;  // "nothing found", with the normal pointer, not the busy one
        open.picks = {empty.path(), folder.path()};
        AnswerNextModal([](QWidget* box) {
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            ClickButton(box, "OK");
        });
        for (int pick = 0; pick < 2; ++pick)
            QTest::mouseClick(open.Control("1000"), Qt::LeftButton);
        QVERIFY(QApplication::overrideCursor() == nullptr);
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

    // A stored minimised state or a missing edge opens the window at its own size.
    void placement_data() {
        QTest::addColumn<QList<int>>("stored");  // left, top, right, bottom, show command
        QTest::addColumn<QRect>("expected");     // empty: template size; {0,0,1,1}: maximised
        QTest::newRow("normal") << QList<int>{40, 30, 640, 450, 1} << QRect(40, 30, 600, 420);
        QTest::newRow("maximised") << QList<int>{40, 30, 640, 450, 3} << QRect(0, 0, 1, 1);
        QTest::newRow("show minimised") << QList<int>{40, 30, 640, 450, 2} << QRect();
        QTest::newRow("minimise") << QList<int>{40, 30, 640, 450, 6} << QRect();
        QTest::newRow("edge -1") << QList<int>{40, -1, 640, 450, 1} << QRect();
        QTest::newRow("on no screen: to the primary one")
            << QList<int>{9000, 9000, 9600, 9420, 1} << QRect(0, 0, 600, 420);
        QTest::newRow("partly off") << QList<int>{700, -200, 1300, 220, 1} << QRect(0, 0, 600, 420);
        QTest::newRow("larger: fills the screen")
            << QList<int>{-50, -40, 1950, 1460, 1} << QRect(0, 0, 2000, 1500);
    }
    void placement() {
        QFETCH(QList<int>, stored);
        QFETCH(QRect, expected);
        OpenMainWindow open;
        for (const char* key :
             {"WindowLeft", "WindowTop", "WindowRight", "WindowBottom", "WindowShowCmd"})
            settings::WriteInt(QString::fromLatin1(key), stored.takeFirst());
        QVERIFY(open.Show());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        if (expected == QRect(0, 0, 1, 1))
            QVERIFY(open.window->isMaximized());
        else if (expected.isEmpty())
            QCOMPARE(open.window->size(), DialogUnits(open.window->font()).Size(366, 255));
        else if (expected.topLeft().isNull())  // moved whole onto the screen, shrunk if larger
            QTRY_VERIFY(
                screen.contains(open.window->frameGeometry()) &&
                (open.window->size() == expected.size() || open.window->frameGeometry() == screen));
        else
            QCOMPARE(open.window->geometry(), expected);
    }

    void fitIntoArea() {
        const QRect area(100, 50, 800, 600);  // a second screen beside the first
        const QRect rows[][2] = {{{150, 60, 300, 200}, {150, 60, 300, 200}},    // inside
                                 {{800, 600, 300, 200}, {600, 450, 300, 200}},  // off right, below
                                 {{-500, -10, 300, 200}, {100, 50, 300, 200}},  // off left, above
                                 {{5000, 5000, 900, 700}, area}};               // larger, far off
        for (const auto& [frame, fitted] : rows)
            QCOMPARE(FitIntoArea(frame, area), fitted);
        // One that cannot shrink enough keeps its top-left corner in the area.
        QCOMPARE(FitIntoArea({300, 300, 900, 700}, area, {850, 650}), QRect(100, 50, 850, 650));
    }

    // Named at start, a folder is listed as the window opens and stored at exit.
    void startFolder() {
        TempDir folder;
        WriteSong(folder / "a.mid", "Alpha");  // an empty folder would be reported
        OpenMainWindow open;
        open.window->SetStartFolder(folder.path());
        AnswerNextModal([&](QWidget*) {
            QTRY_COMPARE(open.Control<QLabel>("1001")->text(),
                         QString::fromStdString(folder.path()));
            open.window->close();
        });
        open.window->DoModal();
        QCOMPARE(settings::ReadString("Folder", {}).toStdString(), folder.path());
    }

    // Help with no program to open the page says so and names the page.
    void helpWithoutAProgram() {
        OpenMainWindow open;
        QVERIFY(open.Show());
        g_pageOpener = QStringLiteral("false");  // a program that fails
        QString message;
        AnswerNextModal([&message](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            ClickButton(box, "OK");
        });
        QTest::mouseClick(open.Control("1065"), Qt::LeftButton);
        QTRY_VERIFY(message.endsWith("browser:\n" + FindHelpPage(QDir::currentPath(), false)));
    }

    // The keys work wherever the focus is, as their buttons do (none while disabled).
    void keys() {
        TempDir folder;
        WriteSong(folder / "a.mid", "Alpha");
        OpenMainWindow open;
        QVERIFY(open.Show());
        QString opened;  // the titles of the windows the keys open, closed at once
        QTimer closer;
        closer.callOnTimeout([&opened]() {
            if (QWidget* modal = QApplication::activeModalWidget())
                opened += modal->windowTitle() + '|', modal->close();
        });
        closer.start(20);
        auto press = [&](QKeyCombination key) {
            open.window->activateWindow();  // back from a dialog, as on a desktop
            QVERIFY(QTest::qWaitForWindowActive(open.window.get()));
            QTest::keyClick(open.Control("1061"), key.key(), key.keyboardModifiers());
        };
        g_pageOpener = QStringLiteral("false");  // Help says it cannot open the page
        open.picks = {folder.path()};
        for (const auto key : {Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_O, Qt::CTRL | Qt::Key_A,
                               Qt::CTRL | Qt::Key_A})
            press(key);
        QCOMPARE(open.List()->GetSelectedCount(), 1);  // Ctrl+A twice: still all
        WriteSong(folder / "b.mid", "Beta");
        for (const auto key :
             {QKeyCombination(Qt::Key_F5), Qt::CTRL | Qt::Key_S, QKeyCombination(Qt::Key_F1)})
            press(key);
        QCOMPARE(open.Rows().size(), 2);
        QTRY_COMPARE(opened, "Save Midi Names|" + QApplication::applicationName() + '|');
        QCOMPARE(open.Control("1065")->toolTip(), QStringLiteral("F1"));
        press(Qt::CTRL | Qt::Key_Q);
        QVERIFY(!open.window->isVisible());
    }

    // Dropped: a folder is listed; files list their folder with their rows
    // selected; files or folders of several folders are refused (in German here).
    void drop_data() {
        QTest::addColumn<QStringList>("dropped");  // below the temporary folder
        QTest::addColumn<QString>("listed");       // "": refused
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("folder") << QStringList{"One"} << "One" << QList<int>{};
        QTest::newRow("files") << QStringList{"One/c.sty", "One/a.mid"} << "One"
                               << QList<int>{0, 2};
        QTest::newRow("files of two folders")
            << QStringList{"One/a.mid", "Two"} << "" << QList<int>{};
    }
    void drop() {
        QFETCH(QStringList, dropped);
        QFETCH(QString, listed);
        QFETCH(QList<int>, selected);
        TempDir folder;
        QVERIFY(QDir().mkpath(QString::fromStdString(folder / "Two")) &&
                QDir().mkpath(QString::fromStdString(folder / "One")));
        for (const char* name : {"a.mid", "b.mid", "c.sty"})
            WriteSong(folder / "One/" + name, name);
        OpenMainWindow open("G");
        QVERIFY(open.Show());
        QMimeData data;
        for (const QString& name : dropped)
            data.setUrls(data.urls() << QUrl::fromLocalFile(
                             QString::fromStdString(folder / name.toStdString())));
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(open.window.get(), &enter);
        QString message;
        if (listed.isEmpty())
            AnswerNextMessageBox(QMessageBox::NoButton, &message);
        QDropEvent drop({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(open.window.get(), &drop);
        if (listed.isEmpty())
            QTRY_COMPARE(
                message,
                QString::fromUtf8("Bitte einen Ordner oder nur Dateien eines Ordners ablegen."));
        QVERIFY(enter.isAccepted() &&
                (listed.isEmpty() || open.Control<QLabel>("1001")->text().endsWith('/' + listed)));
        QCOMPARE(open.List()->GetSelectedItems(),
                 std::vector<std::int32_t>(selected.begin(), selected.end()));
    }

    // A long path keeps its first and last folders, and is whole in the tool tip and
    // the accessible description.
    void longPathElided() {
        const QFontMetrics metrics(QApplication::font());
        const QString path = "/media/user/Keyboard Backups/2024/Stick/Final";
        const int room = metrics.horizontalAdvance("/media/user/…/Final") + 2;
        QCOMPARE(ElidePath(path, metrics, room), QString::fromUtf8("/media/user/…/Final"));
        QVERIFY(metrics.horizontalAdvance(ElidePath("/a/" + QString(200, 'x'), metrics, 99)) <= 99);
        CPathLabel label;
        label.resize(room + 40, 20);
        label.SetPath(path);
        QCOMPARE(label.text().left(12) + label.toolTip() + label.accessibleDescription(),
                 "/media/user/" + path + path);
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

TT_GUI_TEST_MAIN(MainDlgTest)
#include "MainDlgTest.moc"
