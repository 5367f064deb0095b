#pragma once
// The platform's Click of a control: the left button goes down on it and comes
// up over it again.
#include <QMouseEvent>
#include <QWidget>

namespace sonmira::controls {

class ClickTracker {
public:
    void press(const QMouseEvent* e) {
        if (e->button() == Qt::LeftButton) down_ = true;
    }
    // True when this release completes a click on the widget.
    bool release(const QWidget& widget, const QMouseEvent* e) {
        if (e->button() != Qt::LeftButton) return false;
        const bool click = down_ && widget.rect().contains(e->position().toPoint());
        down_ = false;
        return click;
    }

private:
    bool down_ = false;
};

} // namespace sonmira::controls
