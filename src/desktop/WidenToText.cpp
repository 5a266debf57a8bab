#include "desktop/WidenToText.h"

#include <QWidget>
#include <algorithm>

namespace tt {

void WidenToText(QWidget* control, bool centred) {
    const QWidget* parent = control->parentWidget();
    const int wanted = control->sizeHint().width();
    QRect rect = control->geometry();
    if (parent == nullptr || wanted <= rect.width())
        return;
    const int room = parent->width();
    const int width = std::min(wanted, room);
    int left = centred ? rect.center().x() - width / 2 : rect.left();
    left = std::clamp(left, 0, room - width);
    control->setGeometry(left, rect.top(), width, rect.height());
}

}  // namespace tt
