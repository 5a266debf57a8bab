#include "ui/WindowPlacement.h"

#include <QRect>
#include <QWidget>

#include "desktop/ScreenFit.h"
#include "desktop/SettingsStore.h"

namespace tt {

namespace {

constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kMinimize = 6;

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
    window.setGeometry(left, top, right - left, bottom - top);
    // Placed under another screen or font size, it may not fit here: the whole
    // window comes onto its screen (again once shown, when its frame is known).
    FitOnScreen(window);
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
