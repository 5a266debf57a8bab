#pragma once

#include <QIcon>

namespace tt {

// The program's icon (windows, message boxes, the desktop entry's picture).
QIcon AppIcon();

}  // namespace tt
