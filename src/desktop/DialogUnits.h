#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace tt {

// Window layouts are given in dialog units: a quarter of the dialog font's average
// character width horizontally, an eighth of its height vertically. The average
// width is that of the 52 Latin letters, as dialog layouts have always measured it.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;
    int X(int units) const { return (units * m_baseX + 2) / 4; }
    int Y(int units) const { return (units * m_baseY + 4) / 8; }

  private:
    int m_baseX;
    int m_baseY;
};

}  // namespace tt
