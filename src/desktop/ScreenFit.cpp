#include "desktop/ScreenFit.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace tt {

namespace {

// Moves `start` so that `length` pixels from it lie in [areaStart, areaStart +
// areaLength); when they cannot, `start` is the area's start.
int FitSpan(int start, int length, int areaStart, int areaLength) {
    start = std::min(start, areaStart + areaLength - length);
    return std::max(start, areaStart);
}

// The decoration the window manager gave the last window whose frame was known.
// A window the window manager has not framed yet is fitted as if it had the same.
QMargins g_assumedFrame;

// How often, and how long after a window shows, it is looked at again until the
// window manager has framed it.
constexpr int kFramePollMs = 25;
constexpr int kFramePollLimitMs = 3000;

// The window's frame margins as the window manager reports them; none yet.
QMargins KnownFrameMargins(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr && window.isVisible() ? handle->frameMargins() : QMargins();
}

// Fits its window each time the window is shown: at once with the decoration
// assumed, and again once the window manager has framed it.
class ScreenKeeper : public QObject {
  public:
    explicit ScreenKeeper(QWidget& window) : QObject(&window), m_window(window) {
        window.installEventFilter(this);
        m_poll.setInterval(kFramePollMs);
        connect(&m_poll, &QTimer::timeout, this, &ScreenKeeper::LookForFrame);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::Show) {
            // After the show: by then the toolkit (and a dialog's centring over its
            // parent) has placed the window.
            QTimer::singleShot(0, this, [this]() {
                if (!m_window.isVisible())
                    return;
                FitOnScreen(m_window);
                m_waited.start();
                if (KnownFrameMargins(m_window).isNull())
                    m_poll.start();
            });
        } else if (watched == &m_window && event->type() == QEvent::Hide) {
            m_poll.stop();
        }
        return false;
    }

  private:
    void LookForFrame() {
        const bool framed = !KnownFrameMargins(m_window).isNull();
        if (framed || m_waited.hasExpired(kFramePollLimitMs))
            m_poll.stop();
        if (framed)
            FitOnScreen(m_window);
    }

    QWidget& m_window;
    QTimer m_poll;
    QElapsedTimer m_waited;
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

QMargins FrameMargins(const QWidget& window) {
    const QMargins known = KnownFrameMargins(window);
    if (known.isNull())
        return g_assumedFrame;
    g_assumedFrame = known;
    return known;
}

void FitOnScreen(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen() || window.isMinimized())
        return;
    const QMargins margins = FrameMargins(window);
    const QRect frame = window.geometry().marginsAdded(margins);
    const QScreen* screen = ScreenOf(frame);
    if (screen == nullptr)
        return;
    const QRect fitted =
        FitIntoArea(frame, screen->availableGeometry(), window.minimumSize().grownBy(margins));
    if (fitted != frame)
        window.setGeometry(fitted.marginsRemoved(margins));
}

void KeepOnScreen(QWidget& window) {
    new ScreenKeeper(window);
}

}  // namespace tt
