#include "FittedLabel.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace sonmira::app {

namespace {

// A pixel clear at each side, so that anti-aliased glyph edges are not cut.
constexpr qreal Clearance = 1.0;

// The horizontal point that the alignment keeps in place.
qreal anchorOf(const QRectF& area, Qt::Alignment a) {
    if (a & Qt::AlignRight) return area.right();
    if (a & Qt::AlignHCenter) return area.center().x();
    return area.left();
}

} // namespace

qreal FittedLabel::squeeze() const {
    const QString t = text();
    if (t.isEmpty()) return 1.0;
    const QRectF area = contentsRect();
    const Qt::Alignment a = alignment();
    const QFontMetricsF fm(font());
    const qreal advance = fm.horizontalAdvance(t);
    const QRectF ink = fm.tightBoundingRect(t);
    // Where the text starts relative to the anchor, unscaled.
    const qreal start = (a & Qt::AlignRight) ? -advance : (a & Qt::AlignHCenter) ? -advance / 2 : 0.0;
    const qreal lo = start + std::min<qreal>(0.0, ink.left());
    const qreal hi = start + std::max(advance, ink.right());
    const qreal anchor = anchorOf(area, a);
    const qreal roomLeft = anchor - area.left() - Clearance, roomRight = area.right() - anchor - Clearance;
    // Condensing about the anchor moves ink towards it. Ink that crosses the
    // anchor at the label's own edge (a left bearing below zero, a glyph
    // reaching past its advance) stays there whatever the scale, as it does
    // in a plain label; only the sides with room to fill are held to it.
    qreal s = 1.0;
    if (roomRight > 0 && hi > roomRight) s = std::min(s, roomRight / hi);
    if (roomLeft > 0 && -lo > roomLeft) s = std::min(s, roomLeft / -lo);
    return s;
}

void FittedLabel::paintEvent(QPaintEvent* e) {
    const qreal s = squeeze();
    if (s >= 1.0) return QLabel::paintEvent(e);
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(foregroundRole()));
    const QRectF area = contentsRect();
    const qreal anchor = anchorOf(area, alignment());
    // Lay the text out in a rect as much wider as it is squeezed, then scale
    // it about the anchor back into the label.
    QRectF wide = area;
    wide.setLeft(anchor - (anchor - area.left()) / s);
    wide.setRight(anchor + (area.right() - anchor) / s);
    p.translate(anchor, 0);
    p.scale(s, 1.0);
    p.translate(-anchor, 0);
    p.drawText(wide, static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

} // namespace sonmira::app
