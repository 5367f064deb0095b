#pragma once
// Two-state picture button: seventeen pairs of faces (key row, input row,
// mute, lock, reset), chosen by ButtonIndex; Value picks the on or the off
// face. A click raises Click and never changes Value: the host sets it.
#include "controls/ClickTracker.h"
#include "controls/SkinnedControl.h"

#include <cstdint>

namespace sonmira::controls {

class C_OptionEx : public SkinnedControl {
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

signals:
    void Click();

protected:
    void UserControl_Paint() override { RefreshLook(); }
    void UserControl_Show() override { RefreshLook(); }
    void UserControl_Resize() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void RefreshLook();
    QString faceName(bool on) const;

    std::uint8_t buttonIndex_ = 0;
    bool value_ = false;
    ClickTracker click_;
};

} // namespace sonmira::controls
