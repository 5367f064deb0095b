#pragma once
// Push button drawn from pictures: two styles (large 63 x 26, small 43 x 23),
// each with a normal, a hover and a pressed face, and a caption over the face.
// Click comes at every release of a press that began on the button, wherever
// the pointer is then. MouseEnter and MouseLeave come from routing the
// button's own window messages through zSubclass_Proc, after the button's own
// handling.
#include "controls/SkinnedControl.h"
#include "controls/Subclassing.h"

#include <cstdint>

class QLabel;

namespace sonmira::controls {

class C_Button : public SkinnedControl, public SubclassClient {
    Q_OBJECT
public:
    explicit C_Button(QWidget* parent = nullptr);
    ~C_Button() override;

    void zSubclass_Proc(bool bBefore, bool& bHandled, std::int32_t& lReturn, QWidget* lng_hWnd, std::int32_t uMsg,
                        QEvent* event) override;

    // Write only: 0 normal, 1 hover, 2 pressed; an equal value does nothing.
    void setState(std::uint8_t state);
    QString Caption() const;
    void setCaption(const QString& caption);
    std::uint8_t ButtonIndex() const { return buttonIndex_; }
    void setButtonIndex(std::uint8_t index);

    // Loading a stored instance also sets up the pointer tracking.
    void UserControl_ReadProperties(const PropertyBag& bag) override;
    void UserControl_WriteProperties(PropertyBag& bag) const override;

    // For inspection.
    std::uint8_t currentState() const { return state_; }
    QString visiblePicture() const { return visibleFace_; }
    QLabel* captionLabel() const { return label_; }
    bool tracking() const { return tracking_; }
    bool canTrack() const { return canTrack_; }
    const Subclasser& subclasser() const { return subclass_; }

signals:
    void MouseEnter();
    void MouseLeave();
    void Click();

protected:
    void UserControl_Paint() override;
    void UserControl_Show() override { DrawFace(); }
    void UserControl_Resize() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void DrawFace();
    void FitToFace();
    void centreCaption();
    QString faceName(int state) const;

    std::uint8_t buttonIndex_ = 0;
    std::uint8_t state_ = 0;
    bool pressed_ = false;
    bool tracking_ = false;
    bool canTrack_ = false;
    bool useUser32Track_ = false;
    bool raisingClick_ = false; // the host's Click handler is running
    QString visibleFace_;
    QLabel* label_;
    Subclasser subclass_;
};

} // namespace sonmira::controls
