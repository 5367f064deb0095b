#pragma once
// The size of the frame (title bar and border) that the window manager puts
// around a top-level window, asked for before the window is first shown so
// that it can be placed frame and all without a jump.
#include <QMargins>

#include <optional>

class QWidget;

namespace sonmira::platform {

// The frame the window will have: zero margins where nothing draws a frame,
// nothing when the window manager does not tell.
std::optional<QMargins> askFrameMargins(QWidget& window);

} // namespace sonmira::platform
