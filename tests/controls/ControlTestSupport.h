#pragma once
// Simulated pointer input and PNG snapshots for the control tests.
#include "TestSupport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace sonmira::test {

inline void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                  Qt::MouseButtons held = Qt::NoButton) {
    const QPointF local(at);
    QMouseEvent e(type, local, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline void press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    mouse(w, QEvent::MouseButtonPress, at, button, button);
}

inline void release(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    mouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

inline void click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    press(w, at, button);
    release(w, at, button);
}

// A double click as a window receives it: press, release, then a double
// click in place of the second press, and its release.
inline void doubleClick(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    click(w, at, button);
    mouse(w, QEvent::MouseButtonDblClick, at, button, button);
    release(w, at, button);
}

inline void moveTo(QWidget* w, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    mouse(w, QEvent::MouseMove, at, Qt::NoButton, held);
}

// Saves what the widget shows now, for a person to look at.
inline void snapshot(QWidget* w, const QString& name) {
    w->grab().save(outputDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace sonmira::test
