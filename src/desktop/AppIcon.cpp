#include "desktop/AppIcon.h"

namespace tt {

QIcon AppIcon() {
    return QIcon(QStringLiteral(":/icons/tunetitler.svg"));
}

}  // namespace tt
