#pragma once
// The stored pictures of the skinned controls (SVG under :/controls/), each
// rendered once at the pixel size the picture itself gives and then kept.
#include <QCursor>
#include <QPixmap>
#include <QString>

namespace sonmira::controls {

class SkinnedControl;

// The picture named e.g. "button_large_normal" (no folder, no ending); a null
// pixmap when there is no such picture.
const QPixmap& controlPicture(const QString& name);

// Clears the control's surface to its back colour and puts the picture at
// the top-left corner; a null picture leaves only the back colour.
void showPicture(SkinnedControl& control, const QPixmap& picture);

// Fixes the control's size to that of the named picture, whatever a host
// asks later; without such a picture the control keeps the size it has.
void fitToPicture(QWidget& control, const QString& name);

// The program's hand cursor (32 x 32, hot spot at the finger tip, 5, 0).
const QCursor& handCursor();

} // namespace sonmira::controls
