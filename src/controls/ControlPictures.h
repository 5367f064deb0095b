#pragma once
// The stored pictures of the skinned controls (SVG under :/controls/), each
// rendered once at the pixel size the picture itself gives and then kept.
#include <QCursor>
#include <QPixmap>
#include <QString>

namespace sonmira::controls {

// The picture named e.g. "button_large_normal" (no folder, no ending); a null
// pixmap when there is no such picture.
const QPixmap& controlPicture(const QString& name);

// The program's hand cursor (32 x 32, hot spot at the finger tip, 5, 0).
const QCursor& handCursor();

} // namespace sonmira::controls
