#pragma once
// Two-position slide switch. A press on the right half puts the knob right, a
// press on the left half puts it left, the exact middle changes nothing, and
// every press raises Click. Value is the knob position, inverted by
// ValueInvert.
#include "controls/SkinnedControl.h"

#include <cstdint>

namespace sonmira::controls {

class C_FlagBar : public SkinnedControl {
    Q_OBJECT
public:
    explicit C_FlagBar(QWidget* parent = nullptr);

    // False (overflow) when the style does not fit a byte; the style stays.
    bool setButtonStyle(std::int32_t style);
    std::int32_t ButtonStyle() const { return buttonStyle_; }
    bool Value() const { return position_ != valueInvert_; }
    void setValue(bool value);
    bool ValueInvert() const { return valueInvert_; }
    void setValueInvert(bool invert);

    void UserControl_ReadProperties(const PropertyBag& bag) override;
    void UserControl_WriteProperties(PropertyBag& bag) const override;

    // For inspection: the knob stands right; the picture on show.
    bool Position() const { return position_; }
    QString visiblePicture() const;

signals:
    void Click();

protected:
    void UserControl_Paint() override { DrawFace(); }
    void UserControl_Show() override { DrawFace(); }
    void UserControl_Resize() override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void DrawFace();
    QString pictureName(bool right) const;

    bool position_ = false;
    std::uint8_t buttonStyle_ = 0;
    bool valueInvert_ = false;
};

} // namespace sonmira::controls
