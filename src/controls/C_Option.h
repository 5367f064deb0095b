#pragma once
// Option dot with a caption beside it: a yellow dot and caption when Value is
// set, a dark one when clear. A click on the dot, the caption or the
// background raises Click and never changes Value: the host decides which
// option of a group is set.
#include "controls/ClickableControl.h"

class QLabel;

namespace sonmira::controls {

class C_Option : public ClickableControl {
    Q_OBJECT
public:
    static constexpr int MinWidthTwips = 500;
    static constexpr int HeightTwips = 260;

    explicit C_Option(QWidget* parent = nullptr);

    QString Caption() const;
    void setCaption(const QString& caption);
    bool Value() const { return value_; }
    void setValue(bool value);

    // The size a host asks for in twips: at least 500 wide, always 260 high.
    // Kept in twips, so that 500 stays 500 though the widget is 33 pixels.
    void setSizeTwips(int widthTwips, int heightTwips);
    QSize sizeTwips() const;

    void UserControl_ReadProperties(const PropertyBag& bag) override;
    void UserControl_WriteProperties(PropertyBag& bag) const override;

    // For inspection.
    QString visiblePicture() const;
    QLabel* captionLabel() const { return label_; }

protected:
    void UserControl_Resize() override;
    void RefreshLook() override;

private:

    bool value_ = false;
    QLabel* label_;
    QSize twips_;
};

} // namespace sonmira::controls
