#include "desktop/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace tt {

namespace {

// Moves `start` so that `length` pixels from it lie in [areaStart, areaStart +
// areaLength); when they cannot, `start` is the area's start.
int FitSpan(int start, int length, int areaStart, int areaLength) {
    start = std::min(start, areaStart + areaLength - length);
    return std::max(start, areaStart);
}

// Fits its window each time the window is shown.
class ScreenKeeper : public QObject {
  public:
    explicit ScreenKeeper(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            // After the show: by then the toolkit (and a dialog's centring over its
            // parent) has placed the window.
            QPointer<QWidget> window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, this, [window]() {
                if (window && window->isVisible())
                    FitOnScreen(*window);
            });
        }
        return false;
    }
};

}  // namespace

QRect FitIntoArea(const QRect& frame, const QRect& area, const QSize& minimum) {
    const QSize size = frame.size().boundedTo(area.size()).expandedTo(minimum);
    return QRect(FitSpan(frame.x(), size.width(), area.x(), area.width()),
                 FitSpan(frame.y(), size.height(), area.y(), area.height()), size.width(),
                 size.height());
}

QScreen* ScreenOf(const QRect& frame) {
    if (QScreen* screen = QGuiApplication::screenAt(frame.center()))
        return screen;
    QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestOverlap = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->geometry().intersected(frame);
        const qint64 area = qint64(overlap.width()) * overlap.height();
        if (!overlap.isEmpty() && area > bestOverlap) {
            best = screen;
            bestOverlap = area;
        }
    }
    return best;
}

void FitOnScreen(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen() || window.isMinimized())
        return;
    const QRect frame = window.frameGeometry();
    const QScreen* screen = ScreenOf(frame);
    if (screen == nullptr)
        return;
    const QRect client = window.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect fitted =
        FitIntoArea(frame, screen->availableGeometry(), window.minimumSize().grownBy(margins));
    if (fitted != frame)
        window.setGeometry(fitted.marginsRemoved(margins));
}

void KeepOnScreen(QWidget& window) {
    new ScreenKeeper(window);
}

}  // namespace tt
