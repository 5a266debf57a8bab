// Under a window manager (openbox on Xvfb), each case in a child process (this
// program with "--child"; the scale is fixed at start): whole frames on screen.
// Skipped without Xvfb or openbox.
#include <QDebug>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <map>

#include "GuiTestSupport.h"
#include "MainWindowSupport.h"
#include "ui/FolderDlg.h"

using namespace tt;

namespace {

bool g_failed = false;  // in the child

// Waits until the window is framed and the frame on the screen (from its top-left
// corner when too large); says so on standard error when it never is.
void ExpectFrameOnScreen(QWidget& window, const char* what) {
    const QRect area = window.screen()->availableGeometry();
    const QWindow* handle = window.windowHandle();
    const auto onScreen = [&]() {
        const QRect frame = handle->frameGeometry();
        return !handle->frameMargins().isNull() &&
               area.contains(frame.width() > area.width() || frame.height() > area.height()
                                 ? QRect(frame.topLeft(), QSize(1, 1))
                                 : frame);
    };
    if (!QTest::qWaitFor(onScreen, 5000))
        g_failed = true, qWarning() << "FAIL:" << what << handle->frameGeometry();
}

// One start of the program on the placement `stored`; "later": the one an
// earlier start stored.
void PlaceWindows(const QString& stored) {
    std::unique_ptr<test::OpenMainWindow> settingsOfTheirOwn;
    if (stored != "later")
        settingsOfTheirOwn = std::make_unique<test::OpenMainWindow>();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placement = stored == "larger" ? area.adjusted(-50, -40, 100, 100)
                            : stored == "off"  ? QRect(area.right() - 150, -300, 500, 350)
                                               : QRect();
    for (const auto& [key, value] : {std::pair{"WindowLeft", placement.left()},
                                     {"WindowTop", placement.top()},
                                     {"WindowRight", placement.right() + 1},
                                     {"WindowBottom", placement.bottom() + 1}})
        if (!placement.isNull())
            settings::WriteInt(key, value);
    CMainDlg window;
    window.OnInitDialog();
    window.show();
    ExpectFrameOnScreen(window, qPrintable("main window, stored " + stored));
    CFolderDlg dialog(false, &window);
    dialog.show();
    ExpectFrameOnScreen(dialog, "folder picker");
    dialog.close();
    window.close();  // stores the placement
}

}  // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT

    std::map<QString, QString> m_displays;  // by screen size
    std::vector<std::unique_ptr<QProcess>> m_servers;
    QTemporaryDir m_scratch;

    // A display of this size that openbox manages; empty when it does not start.
    QString DisplayOf(const QString& size) {
        if (m_displays.count(size))
            return m_displays[size];
        auto start = [this](const QString& program, const QStringList& arguments,
                            const QString& display) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("DISPLAY", display);
            m_servers.push_back(std::make_unique<QProcess>());
            m_servers.back()->setProcessEnvironment(environment);
            m_servers.back()->start(program, arguments);
            return m_servers.back().get();
        };
        QProcess* server = start(
            "Xvfb", {"-displayfd", "1", "-screen", "0", size + "x24", "-nolisten", "tcp"}, {});
        if (!QTest::qWaitFor([&]() { return server->canReadLine(); }, 20000))
            return {};
        const QString display = ':' + QString::fromLatin1(server->readLine().trimmed());
        const QString ready = m_scratch.filePath("ready-" + size);  // once openbox manages
        start("openbox", {"--sm-disable", "--startup", "touch '" + ready + "'"}, display);
        if (!QTest::qWaitFor([&]() { return QFile::exists(ready); }, 20000))
            return {};
        return m_displays[size] = display;
    }

    // `config`: the settings' folder, kept from one start to the next.
    void RunChild(const QString& size, const QString& scale, const QString& stored,
                  const QTemporaryDir& config) {
        const QString display = DisplayOf(size);
        QVERIFY2(!display.isEmpty(), "Xvfb with openbox did not start");
        QTemporaryDir runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair{"DISPLAY", display},
                                          {"QT_QPA_PLATFORM", QStringLiteral("xcb")},
                                          {"QT_SCALE_FACTOR", scale},
                                          {"XDG_CONFIG_HOME", config.path()},
                                          {"XDG_RUNTIME_DIR", runtime.path()}})
            environment.insert(name, value);
        // Qt's X11 platform loads the D-Bus library, which leaves an allocation of
        // its own at exit: not ours to report under the leak checker.
        environment.insert("LSAN_OPTIONS", environment.value("LSAN_OPTIONS") +
                                               ":suppressions=" + m_scratch.filePath("leaks"));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--child", stored});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardError().constData());
    }

  private slots:
    void initTestCase() {
        QFile leaks(m_scratch.filePath("leaks"));
        QVERIFY(leaks.open(QIODevice::WriteOnly) && leaks.write("leak:libdbus-1.so\n") > 0);
        for (const char* program : {"Xvfb", "openbox"}) {
            if (QStandardPaths::findExecutable(program).isEmpty())
                QSKIP(qPrintable(QString(program) + " is not installed (tools/setup installs it)"));
        }
    }
    void cleanupTestCase() {
        for (auto it = m_servers.rbegin(); it != m_servers.rend(); ++it) {
            (*it)->terminate();
            (*it)->waitForFinished(5000);
        }
    }

    // Screen size, scale, stored placement: none, larger than the screen, off it.
    void frameOnScreen_data() {
        QTest::addColumn<QStringList>("setting");
        for (const char* size : {"1280x1024", "800x600"})
            for (const char* scale : {"1", "2"})
                for (const char* stored : {"none", "larger", "off"})
                    QTest::addRow("%s scale %s, stored %s", size, scale, stored)
                        << QStringList{size, scale, stored};
    }
    void frameOnScreen() {
        QFETCH(QStringList, setting);
        const QTemporaryDir config;  // a first start, then a later one on what it stored
        for (const QString& stored : {setting[2], QStringLiteral("later")})
            RunChild(setting[0], setting[1], stored, config);
    }
};

int main(int argc, char** argv) {
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0) {
        QApplication app(argc, argv);
        QApplication::setApplicationName("Tunetitler");
        PlaceWindows(argv[2]);
        return g_failed ? 1 : 0;
    }
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    WindowManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowManagerTest.moc"
