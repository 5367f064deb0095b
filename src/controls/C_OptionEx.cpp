#include "controls/C_OptionEx.h"

#include "controls/ControlPictures.h"


namespace sonmira::controls {

C_OptionEx::C_OptionEx(QWidget* parent) : ClickableControl(ScaleMode::Twips, parent) {
    setBackColor(0x3D3F3F);
    setCursor(handCursor());
    UserControl_Resize();
}

QString C_OptionEx::faceName(bool on) const {
    // An index past the seventeen pairs has no faces: nothing is shown and
    // the control keeps its size.
    if (buttonIndex_ >= PairCount) return {};
    return QStringLiteral("optionex_%1_%2")
        .arg(int(buttonIndex_), 2, 10, QLatin1Char('0'))
        .arg(on ? QStringLiteral("on") : QStringLiteral("off"));
}

void C_OptionEx::RefreshLook() {
    const QString name = visiblePicture();
    showPicture(*this, name.isEmpty() ? QPixmap() : controlPicture(name));
}

void C_OptionEx::UserControl_Resize() {
    fitToPicture(*this, faceName(true));
    ApplyWindowRegion();
}

void C_OptionEx::setButtonIndex(std::uint8_t index) {
    buttonIndex_ = index;
    fitToPicture(*this, faceName(true));
    RefreshLook();
    emit PropertyChanged(QStringLiteral("ButtonIndex"));
}

void C_OptionEx::setValue(bool value) {
    value_ = value;
    RefreshLook();
    emit PropertyChanged(QStringLiteral("Value"));
}

void C_OptionEx::UserControl_ReadProperties(const PropertyBag& bag) {
    value_ = bag.readBoolean(QStringLiteral("Value"), false);
    buttonIndex_ = bag.readByte(QStringLiteral("ButtonIndex"), 0);
    // The platform resizes a control right after loading it.
    UserControl_Resize();
}

void C_OptionEx::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Value"), value_);
    bag.WriteProperty(QStringLiteral("ButtonIndex"), buttonIndex_);
}

} // namespace sonmira::controls
