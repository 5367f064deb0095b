#include "WindowDrag.h"

#include "WindowLoader.h"

#include "controls/C_Button.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

namespace sonmira::app {

WindowDrag::WindowDrag(QWidget& window, const LoadedWindow& loaded) : window_(window) {
    for (std::size_t i = 0; i < C_Button1.size(); ++i)
        C_Button1[i] = loaded.require<controls::C_Button>(QStringLiteral("C_Button1"), static_cast<int>(i));
    // Moves over the background come without a button held too.
    window_.setMouseTracking(true);
    window_.installEventFilter(this);
}

// The events' own positions are not used: the pointer's screen position is
// what the window follows, also when the moving window shifts the pointer's
// place inside it.
void WindowDrag::Form_MouseDown() {
    const QPoint at = QCursor::pos();
    DragX = at.x();
    DragY = at.y();
    Dragging = true;
}

void WindowDrag::Form_MouseMove() {
    const QPoint at = QCursor::pos();
    if (Dragging) {
        // Not clamped: the window may go partly or wholly off the screen.
        window_.move(window_.x() + at.x() - DragX, window_.y() + at.y() - DragY);
        DragX = at.x();
        DragY = at.y();
    }
    for (auto* b : C_Button1) b->setState(0);
}

void WindowDrag::Form_MouseUp() { Dragging = false; }

// The window also sees the pointer events its controls leave unhandled (a
// label, a header picture); only a point that no control covers is the
// background. While dragging the window holds the pointer, so every move and
// the release come to it wherever the pointer is.
bool WindowDrag::eventFilter(QObject* watched, QEvent* e) {
    if (watched != &window_) return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        if (!window_.isEnabled()) break; // no pointer input while a transfer runs
        const auto* m = static_cast<QMouseEvent*>(e);
        const bool background = !window_.childAt(m->position().toPoint());
        if (e->type() == QEvent::MouseMove) {
            if (Dragging || background) Form_MouseMove();
        } else if (background) {
            Form_MouseDown();
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        // Also while disabled, so that a drag never outlives its button.
        Form_MouseUp();
        break;
    default:
        break;
    }
    return false;
}

} // namespace sonmira::app
