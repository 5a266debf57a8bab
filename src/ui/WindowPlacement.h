#pragma once

class QWidget;

namespace tt {

// The main window's placement in the settings: its normal (restored) rectangle as
// "WindowLeft", "WindowTop", "WindowRight", "WindowBottom" (right and bottom one
// past the last pixel) and "WindowShowCmd" (1 normal, 2 minimised, 3 maximised).
// The rectangle is the window's client area in screen pixels.

// Applies the stored placement before the window is shown. A missing edge (-1),
// an empty rectangle or a stored minimised state leaves the window at its own
// size where the desktop puts it. The window is moved, and shrunk where it is
// larger, into the available area of the screen it is on (the primary screen for
// a rectangle on none).
void RestoreWindowPlacement(QWidget& window);
void SaveWindowPlacement(const QWidget& window);

}  // namespace tt
