#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace tt {

// Windows stay inside the part of their screen that windows may use (panels and
// docks left out), so that every button of a window is within reach, whatever
// screen or font size a stored placement was made under.

// `frame` moved, and shrunk where it is larger, so that it lies wholly inside
// `area`. It never becomes smaller than `minimum`; a frame that cannot shrink
// enough keeps its top-left corner in the area, where the title bar is.
QRect FitIntoArea(const QRect& frame, const QRect& area, const QSize& minimum = QSize());

// The screen a window with this frame is on: the one holding its centre, else the
// one it overlaps most, else the primary screen.
QScreen* ScreenOf(const QRect& frame);

// The window manager's decoration of a top-level window: its frame margins once
// the window is framed; before that, those of the last window that was.
QMargins FrameMargins(const QWidget& window);

// Moves and shrinks a top-level window so that its whole frame, title bar
// included, lies in the available area of its screen. A maximised, full-screen
// or minimised window is left alone.
void FitOnScreen(QWidget& window);

// Fits `window` on its screen every time it is shown, once the toolkit has
// placed it, and again once the window manager has framed it.
void KeepOnScreen(QWidget& window);

}  // namespace tt
