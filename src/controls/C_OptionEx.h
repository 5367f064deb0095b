#pragma once
// Two-state picture button: seventeen pairs of faces (key row, input row,
// mute, lock, reset), chosen by ButtonIndex; Value picks the on or the off
// face. A click raises Click and never changes Value: the host sets it.
#include "controls/ClickableControl.h"

#include <cstdint>

namespace sonmira::controls {

class C_OptionEx : public ClickableControl {
    Q_OBJECT
public:
    static constexpr int PairCount = 17;

    explicit C_OptionEx(QWidget* parent = nullptr);

    std::uint8_t ButtonIndex() const { return buttonIndex_; }
    void setButtonIndex(std::uint8_t index);
    bool Value() const { return value_; }
    void setValue(bool value);

    void UserControl_ReadProperties(const PropertyBag& bag) override;
    void UserControl_WriteProperties(PropertyBag& bag) const override;

    // For inspection: the face on show ("" when the index has no pictures).
    QString visiblePicture() const { return faceName(value_); }

protected:
    void UserControl_Resize() override;
    void RefreshLook() override;

private:
    QString faceName(bool on) const;

    std::uint8_t buttonIndex_ = 0;
    bool value_ = false;
};

} // namespace sonmira::controls
