#include "Gdi.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace sonmira::controls {

QColor toQColor(ColorRef c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

ColorRef fromQColor(const QColor& c) { return rgbColor(c.red(), c.green(), c.blue()); }

int twipsToPixels(int twips) { return roundHalfEven(double(twips) / TwipsPerPixel); }

int roundHalfEven(double v) {
    // std::nearbyint follows the default rounding mode, which is to nearest even.
    return int(std::nearbyint(v));
}

QRegion CreateRectRgn(int x1, int y1, int x2, int y2) {
    const QRect r = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                          QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    return r.isValid() ? QRegion(r) : QRegion();
}

void DrawLine(QImage& dc, int x1, int y1, int x2, int y2, ColorRef colour, int width) {
    if (width < 1) width = 1;
    const QColor c = toQColor(colour);
    const int lo = width / 2; // thickness above or left of the line
    QPainter p(&dc);
    if (y1 == y2 || x1 == x2) {
        QRect r;
        if (y1 == y2) {
            if (x1 == x2) return; // a line of length 0 paints nothing
            const int from = x1 < x2 ? x1 : x2 + 1;
            const int to = x1 < x2 ? x2 - 1 : x1;
            r = QRect(QPoint(from, y1 - lo), QPoint(to, y1 - lo + width - 1));
        } else {
            const int from = y1 < y2 ? y1 : y2 + 1;
            const int to = y1 < y2 ? y2 - 1 : y1;
            r = QRect(QPoint(x1 - lo, from), QPoint(x1 - lo + width - 1, to));
        }
        p.fillRect(r, c);
        return;
    }
    // Slanted lines: none of the controls draws one; keep them plain and
    // stop one pixel short of the end point like the straight ones.
    const double len = std::hypot(double(x2 - x1), double(y2 - y1));
    const QPointF a(x1 + 0.5, y1 + 0.5);
    const QPointF b(x2 + 0.5 - (x2 - x1) / len, y2 + 0.5 - (y2 - y1) / len);
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

void FillRgnColor(QImage& dc, const QRegion& region, ColorRef colour) {
    QPainter p(&dc);
    const QColor c = toQColor(colour);
    for (const QRect& r : region) p.fillRect(r, c);
}

} // namespace sonmira::controls
