#include "controls/ClickableControl.h"

#include <QMouseEvent>

namespace sonmira::controls {

ClickableControl::ClickableControl(ScaleMode scale, QWidget* parent) : SkinnedControl(scale, parent) {
    setFocusPolicy(Qt::ClickFocus); // a press takes the focus, as from an open drop-down list
}

void ClickableControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) leftDown_ = true;
}

void ClickableControl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const bool click = leftDown_ && rect().contains(e->position().toPoint());
    leftDown_ = false;
    if (click) emit Click();
}

} // namespace sonmira::controls
