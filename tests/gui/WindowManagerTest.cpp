// Under a real window manager (openbox on Xvfb): the main window and a dialog
// keep their whole frame, title bar included, on the screen, at scale 1 and 2, on
// a large and a small screen, with no stored placement, one larger than the
// screen and one partly off it, at a first and a later start; and a second start
// brings a minimised window and its dialog back. Each case runs in a process of
// its own (the scale is fixed when the application starts): this program again,
// started with "--child". Skipped where Xvfb or openbox is not installed.
#include <QDialog>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <map>
#include <memory>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "desktop/SingleInstance.h"
#include "ui/FolderDlg.h"

using namespace tt;

namespace {

// --- The child: one case on the display it is given, reporting what it saw.

bool g_childFailed = false;

void Fail(const QString& what) {
    std::fprintf(stderr, "FAIL: %s\n", qPrintable(what));
    g_childFailed = true;
}

QString Text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Waits until the window manager has framed `window` and its frame is on the
// screen (wholly, or where it cannot fit, from its top-left corner), and says
// when that never happens.
void ExpectFrameOnScreen(QWidget& window, const QString& what) {
    const QRect area = window.screen()->availableGeometry();
    auto onScreen = [&]() {
        const QWindow* handle = window.windowHandle();
        if (handle == nullptr || handle->frameMargins().isNull())
            return false;
        const QRect frame = handle->frameGeometry();
        const bool fits = frame.width() <= area.width() && frame.height() <= area.height();
        return fits ? area.contains(frame) : area.contains(frame.topLeft());
    };
    if (!QTest::qWaitFor(onScreen, 5000))
        Fail(QStringLiteral("%1: frame %2 (window %3) is not on the screen's area %4")
                 .arg(what, Text(window.windowHandle()->frameGeometry()), Text(window.geometry()),
                      Text(area)));
}

int PlaceWindows(const QString& stored) {
    test::OpenMainWindow open;  // settings: the language alone
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QRect placement;
    if (stored == QLatin1String("larger"))
        placement = area.adjusted(-50, -40, 100, 100);
    else if (stored == QLatin1String("off"))
        placement = QRect(area.right() - 150, area.top() - 300, 500, 350);
    if (!placement.isNull()) {
        const int values[] = {placement.left(), placement.top(), placement.right() + 1,
                              placement.bottom() + 1, 1};
        const char* keys[] = {"WindowLeft", "WindowTop", "WindowRight", "WindowBottom",
                              "WindowShowCmd"};
        for (int i = 0; i < 5; ++i)
            settings::WriteInt(QString::fromLatin1(keys[i]), values[i]);
    }
    // The first start, and a later one from the placement the first one stored.
    for (const char* start : {"first start", "later start"}) {
        CMainDlg window;
        window.OnInitDialog();
        window.show();
        ExpectFrameOnScreen(window, QStringLiteral("main window, %1").arg(start));
        CFolderDlg dialog(false, &window);
        dialog.show();
        ExpectFrameOnScreen(dialog, QStringLiteral("folder picker, %1").arg(start));
        dialog.close();
        window.close();  // stores the placement
    }
    return g_childFailed ? 1 : 0;
}

int RaiseMinimised() {
    SingleInstance running;
    if (running.Claim() != SingleInstance::Claimed::first)
        Fail(QStringLiteral("another copy is running"));
    test::OpenMainWindow open;
    open.Show();
    open.window->FollowLaterStarts(running);
    QDialog dialog(open.window.get());
    dialog.setWindowTitle(QStringLiteral("Question"));
    dialog.setModal(true);
    dialog.show();
    // Framed: the window manager has taken both windows on.
    auto framed = [&]() {
        return !open.window->windowHandle()->frameMargins().isNull() &&
               !dialog.windowHandle()->frameMargins().isNull() &&
               QGuiApplication::focusWindow() == dialog.windowHandle();
    };
    if (!QTest::qWaitFor(framed, 5000))
        Fail(QStringLiteral("the window manager did not take the windows on"));
    open.window->showMinimized();
    if (!QTest::qWaitFor([&]() { return !open.window->windowHandle()->isExposed(); }, 5000))
        Fail(QStringLiteral("the window manager did not minimise the window (dialog exposed %1)")
                 .arg(dialog.windowHandle()->isExposed()));

    QProcess second;
    second.start(QStringLiteral(TUNETITLER_PROGRAM_PATH), {});
    // This process answers the second start: it waits with its events running.
    if (!QSignalSpy(&second, &QProcess::finished).wait(20000) || second.exitCode() != 0)
        Fail(QStringLiteral("the second start did not end with status 0"));
    auto seen = [&]() {
        return !open.window->isMinimized() && open.window->windowHandle()->isExposed() &&
               dialog.windowHandle()->isExposed() &&
               QGuiApplication::focusWindow() == dialog.windowHandle();
    };
    if (!QTest::qWaitFor(seen, 5000))
        Fail(QStringLiteral("after the second start: window minimised %1, exposed %2, "
                            "dialog exposed %3, dialog has the focus %4")
                 .arg(open.window->isMinimized())
                 .arg(open.window->windowHandle()->isExposed())
                 .arg(dialog.windowHandle()->isExposed())
                 .arg(QGuiApplication::focusWindow() == dialog.windowHandle()));
    dialog.close();
    return g_childFailed ? 1 : 0;
}

}  // namespace

// --- The test: displays with a window manager, one child per case.

class WindowManagerTest : public QObject {
    Q_OBJECT

    struct Display {
        std::unique_ptr<QProcess> server;
        std::unique_ptr<QProcess> windowManager;
        QString name;
    };
    std::map<QString, Display> m_displays;  // by screen size
    QTemporaryDir m_scratch;

    // A display of this size with openbox managing it; empty when it cannot start.
    QString DisplayOf(const QString& size) {
        Display& display = m_displays[size];
        if (!display.name.isEmpty())
            return display.name;
        display.server = std::make_unique<QProcess>();
        display.server->start(
            QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
             QStringLiteral("0"), size + QStringLiteral("x24"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp")});
        if (!QTest::qWaitFor([&]() { return display.server->canReadLine(); }, 20000))
            return {};
        const QString name =
            QLatin1Char(':') + QString::fromLatin1(display.server->readLine().trimmed());
        // openbox runs its start-up command once it manages the screen.
        const QString ready = m_scratch.filePath(QStringLiteral("ready-") + size);
        display.windowManager = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), name);
        display.windowManager->setProcessEnvironment(environment);
        display.windowManager->start(QStringLiteral("openbox"),
                                     {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                                      QStringLiteral("touch '%1'").arg(ready)});
        if (!QTest::qWaitFor([&]() { return QFile::exists(ready); }, 20000))
            return {};
        display.name = name;
        return name;
    }

    // Runs one case in a child on `display`; its complaints fail the test.
    void RunChild(const QString& display, const QString& scale, const QStringList& arguments) {
        QTemporaryDir config;
        QTemporaryDir runtime;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair{"DISPLAY", display},
                                          {"QT_QPA_PLATFORM", QStringLiteral("xcb")},
                                          {"QT_SCALE_FACTOR", scale},
                                          {"XDG_CONFIG_HOME", config.path()},
                                          {"XDG_RUNTIME_DIR", runtime.path()}})
            environment.insert(QString::fromLatin1(name), value);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    QStringList{QStringLiteral("--child")} + arguments);
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAllStandardError());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(output));
    }

  private slots:
    void initTestCase() {
        for (const char* program : {"Xvfb", "openbox"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (tools/setup installs it)")
                                     .arg(QString::fromLatin1(program))));
        }
    }

    void cleanupTestCase() {
        for (auto& [size, display] : m_displays) {
            for (QProcess* process : {display.windowManager.get(), display.server.get()}) {
                if (process != nullptr) {
                    process->terminate();
                    process->waitForFinished(5000);
                }
            }
        }
    }

    void frameOnScreen_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("stored");  // none, larger (than the screen), off (it)
        for (const char* size : {"1280x1024", "800x600"}) {
            for (const char* scale : {"1", "2"}) {
                for (const char* stored : {"none", "larger", "off"})
                    QTest::addRow("%s scale %s, stored %s", size, scale, stored)
                        << QString::fromLatin1(size) << QString::fromLatin1(scale)
                        << QString::fromLatin1(stored);
            }
        }
    }
    void frameOnScreen() {
        QFETCH(QString, size);
        QFETCH(QString, scale);
        QFETCH(QString, stored);
        const QString display = DisplayOf(size);
        QVERIFY2(!display.isEmpty(), "Xvfb with openbox did not start");
        RunChild(display, scale, {QStringLiteral("place"), stored});
    }

    void secondStartRestoresAMinimisedWindow() {
        const QString display = DisplayOf(QStringLiteral("1280x1024"));
        QVERIFY2(!display.isEmpty(), "Xvfb with openbox did not start");
        RunChild(display, QStringLiteral("1"), {QStringLiteral("raise")});
    }
};

int main(int argc, char** argv) {
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0) {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Tunetitler"));
        const QString mode = QString::fromLatin1(argv[2]);
        if (mode == QLatin1String("raise"))
            return RaiseMinimised();
        return PlaceWindows(argc > 3 ? QString::fromLatin1(argv[3]) : QString());
    }
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    WindowManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowManagerTest.moc"
