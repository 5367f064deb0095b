#include "SkinnedControl.h"

#include <QPainter>
#include <QResizeEvent>

namespace sonmira::controls {

SkinnedControl::SkinnedControl(ScaleMode scale, QWidget* parent) : QWidget(parent), scale_(scale) {
    // The surface covers every pixel, so Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

SkinnedControl::~SkinnedControl() = default;

int SkinnedControl::ScaleWidth() const {
    return scale_ == ScaleMode::Pixels ? width() : pixelsToTwips(width());
}

int SkinnedControl::ScaleHeight() const {
    return scale_ == ScaleMode::Pixels ? height() : pixelsToTwips(height());
}

void SkinnedControl::setBackColor(ColorRef c) {
    backColor_ = c & 0x00FFFFFF;
    if (!surface_.isNull()) surface_.fill(toQColor(eraseColor()));
    update();
}

void SkinnedControl::ApplyWindowRegion() {
    // Replacing the shape drops the previous one.
    windowRegion_ = QRegion(0, 0, ScaleWidth() + 1, ScaleHeight() + 1);
    // A region past the control's edges clips nothing of the control, but
    // Qt takes the whole mask as painted by an opaque widget, so neighbours
    // and the window under that overhang would never be drawn.
    setMask(windowRegion_ & QRegion(rect()));
}

void SkinnedControl::ensureSurface() {
    const QSize s = size().expandedTo(QSize(1, 1));
    if (surface_.size() == s) return;
    surface_ = QImage(s, QImage::Format_RGB32);
    surface_.fill(toQColor(eraseColor()));
}

QImage& SkinnedControl::hDC() {
    ensureSurface();
    if (!inPaint_) update();
    return surface_;
}

void SkinnedControl::mouseDoubleClickEvent(QMouseEvent*) {}

void SkinnedControl::paintEvent(QPaintEvent*) {
    inPaint_ = true;
    ensureSurface();
    UserControl_Paint();
    inPaint_ = false;
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

void SkinnedControl::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!e->spontaneous()) UserControl_Show();
}

void SkinnedControl::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ensureSurface();
    UserControl_Resize();
}

} // namespace sonmira::controls
