#include "ui/PathLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

namespace tt {

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

}  // namespace

QString ElidePath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() < 3)
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    // The last folder first, then by turns one more from the front and the back,
    // while at least one folder stays left out.
    qsizetype head = parts.constFirst().isEmpty() ? 1 : 0;  // the root's '/' comes along
    qsizetype tail = 1;
    auto joined = [&](qsizetype front, qsizetype back) {
        return QStringList(parts.mid(0, front)).join(QLatin1Char('/')) + QLatin1Char('/') +
               kEllipsis + QLatin1Char('/') +
               QStringList(parts.mid(parts.size() - back)).join(QLatin1Char('/'));
    };
    auto fits = [&](qsizetype front, qsizetype back) {
        return metrics.horizontalAdvance(joined(front, back)) <= width;
    };
    if (head + tail >= parts.size() || !fits(head, tail))
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    bool frontFull = false;
    bool backFull = false;
    for (bool front = true; !(frontFull && backFull) && head + tail < parts.size() - 1;
         front = !front) {
        if (front && !frontFull) {
            if (fits(head + 1, tail))
                ++head;
            else
                frontFull = true;
        } else if (!front && !backFull) {
            if (fits(head, tail + 1))
                ++tail;
            else
                backFull = true;
        }
    }
    return joined(head, tail);
}

CPathLabel::CPathLabel(QWidget* parent) : QLabel(parent) {}

void CPathLabel::SetPath(const QString& path) {
    m_path = path;
    setToolTip(path);
    setAccessibleDescription(path);
    Elide();
}

void CPathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

void CPathLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Elide();
}

void CPathLabel::Elide() {
    // The frame's own indent: half an 'x' on each side.
    const int room =
        contentsRect().width() - 2 * margin() - fontMetrics().horizontalAdvance(QLatin1Char('x'));
    setText(ElidePath(m_path, fontMetrics(), std::max(room, 0)));
}

}  // namespace tt
