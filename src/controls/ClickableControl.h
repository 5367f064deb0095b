#pragma once
// A small picture control whose one event is the platform's Click (the left
// button goes down on it and comes up over it again; the second click of a
// double click is a double click, not a Click) and whose look is redrawn by
// RefreshLook on Paint and Show. Clicks never change the control's value.
#include "controls/SkinnedControl.h"

namespace sonmira::controls {

class ClickableControl : public SkinnedControl {
    Q_OBJECT
public:
    ClickableControl(ScaleMode scale, QWidget* parent);

signals:
    void Click();

protected:
    virtual void RefreshLook() = 0;
    void UserControl_Paint() override { RefreshLook(); }
    void UserControl_Show() override { RefreshLook(); }
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool leftDown_ = false;
};

} // namespace sonmira::controls
