#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include "desktop/SettingsStore.h"

namespace tt {

namespace {

constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kMinimize = 6;

bool OnSomeScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect))
            return true;
    }
    return false;
}

}  // namespace

void RestoreWindowPlacement(QWidget& window) {
    const int left = settings::ReadInt(QStringLiteral("WindowLeft"), -1);
    const int top = settings::ReadInt(QStringLiteral("WindowTop"), -1);
    const int right = settings::ReadInt(QStringLiteral("WindowRight"), -1);
    const int bottom = settings::ReadInt(QStringLiteral("WindowBottom"), -1);
    const int showCmd = settings::ReadInt(QStringLiteral("WindowShowCmd"), 1);
    if (left == -1 || top == -1 || right == -1 || bottom == -1 || showCmd == kMinimize ||
        showCmd == kShowMinimized)
        return;
    // An empty or inverted rectangle would leave no window to see.
    if (right <= left || bottom <= top)
        return;
    QRect rect(left, top, right - left, bottom - top);
    if (!OnSomeScreen(rect)) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect area = primary->availableGeometry();
            rect.setSize(rect.size().boundedTo(area.size()));
            rect.moveTopLeft(area.topLeft());
        }
    }
    window.setGeometry(rect);
    if (showCmd == kShowMaximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void SaveWindowPlacement(const QWidget& window) {
    QRect normal = window.normalGeometry();
    if (normal.isEmpty())
        normal = window.geometry();
    const int showCmd = window.isMinimized()   ? kShowMinimized
                        : window.isMaximized() ? kShowMaximized
                                               : 1;
    settings::WriteInt(QStringLiteral("WindowLeft"), normal.x());
    settings::WriteInt(QStringLiteral("WindowTop"), normal.y());
    settings::WriteInt(QStringLiteral("WindowRight"), normal.x() + normal.width());
    settings::WriteInt(QStringLiteral("WindowBottom"), normal.y() + normal.height());
    settings::WriteInt(QStringLiteral("WindowShowCmd"), showCmd);
}

}  // namespace tt
