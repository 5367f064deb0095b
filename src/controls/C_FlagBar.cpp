#include "controls/C_FlagBar.h"

#include "controls/ControlPictures.h"

#include <QMouseEvent>

namespace sonmira::controls {

C_FlagBar::C_FlagBar(QWidget* parent) : SkinnedControl(ScaleMode::Twips, parent) {
    setBackColor(0x3D3F3F);
    setCursor(handCursor());
    setFocusPolicy(Qt::ClickFocus); // a press takes the focus, as from an open drop-down list
    UserControl_Resize();
}

QString C_FlagBar::pictureName(bool right) const {
    // One pair of pictures exists; other styles show none.
    if (buttonStyle_ != 0) return {};
    return right ? QStringLiteral("flagbar_on") : QStringLiteral("flagbar_off");
}

QString C_FlagBar::visiblePicture() const { return pictureName(position_); }

void C_FlagBar::DrawFace() {
    const QString name = visiblePicture();
    showPicture(*this, name.isEmpty() ? QPixmap() : controlPicture(name));
}

void C_FlagBar::UserControl_Resize() {
    // The size of the pair's left picture, whatever the host asked.
    fitToPicture(*this, pictureName(false));
    ApplyWindowRegion();
}

bool C_FlagBar::setButtonStyle(std::int32_t style) {
    if (style < 0 || style > 255) return false;
    buttonStyle_ = static_cast<std::uint8_t>(style);
    UserControl_Resize();
    DrawFace();
    emit PropertyChanged(QStringLiteral("ButtonStyle"));
    return true;
}

void C_FlagBar::setValue(bool value) {
    position_ = value != valueInvert_;
    DrawFace();
    emit PropertyChanged(QStringLiteral("Value"));
}

void C_FlagBar::setValueInvert(bool invert) {
    valueInvert_ = invert;
    DrawFace();
    emit PropertyChanged(QStringLiteral("ValueInvert"));
}

void C_FlagBar::mousePressEvent(QMouseEvent* e) {
    // Any button. Twips from the picture's left edge against half the width
    // of the left picture, whole twips.
    const int x = static_cast<int>(e->position().x()) * TwipsPerPixel;
    const int half = pixelsToTwips(controlPicture(QStringLiteral("flagbar_off")).width()) / 2;
    if (x > half) position_ = true;
    else if (x < half) position_ = false;
    DrawFace();
    emit Click();
}

void C_FlagBar::UserControl_ReadProperties(const PropertyBag& bag) {
    buttonStyle_ = bag.readByte(QStringLiteral("ButtonStyle"), 0);
    valueInvert_ = bag.readBoolean(QStringLiteral("ValueInvert"), false);
    // The platform resizes a control right after loading it.
    UserControl_Resize();
}

void C_FlagBar::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("ButtonStyle"), buttonStyle_);
    bag.WriteProperty(QStringLiteral("ValueInvert"), valueInvert_);
}

} // namespace sonmira::controls
