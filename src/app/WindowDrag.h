#pragma once
// Moving the main window by its background: a press of any button on a point
// of the client area that no control covers starts a drag, each pointer move
// then moves the window by the pointer's movement since the last step, and a
// release ends it. Every pointer move over the background also returns the
// push buttons to their normal face.
#include <QObject>

#include <array>

class QWidget;

namespace sonmira::controls {
class C_Button;
}

namespace sonmira::app {

class LoadedWindow;

class WindowDrag : public QObject {
    Q_OBJECT
public:
    // Watches the window's own pointer events; the push buttons are the
    // loaded C_Button1(0..3). Throws std::runtime_error when one is missing.
    WindowDrag(QWidget& window, const LoadedWindow& loaded);

    void Form_MouseDown();
    void Form_MouseMove();
    void Form_MouseUp();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget& window_;
    std::array<controls::C_Button*, 4> C_Button1{};
    int DragX = 0; // the pointer at the press or the last drag step
    int DragY = 0;
    bool Dragging = false;
};

} // namespace sonmira::app
