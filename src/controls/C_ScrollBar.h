#pragma once
// The vertical fader: a title, a sunken box with the value as text, a scale of
// eleven ticks with three scale texts, a slot and a knob. The value moves by
// dragging the knob or, while the pointer rests on the knob, by the Up and
// Down keys. Setting a property from code never raises Scroll.
#include "SkinnedControl.h"

#include <QRegion>

#include <array>
#include <optional>

class QLabel;

namespace sonmira::controls {

class C_ScrollBar : public SkinnedControl {
    Q_OBJECT
public:
    explicit C_ScrollBar(QWidget* parent = nullptr);
    ~C_ScrollBar() override;

    // --- properties, in their declaration order ----------------------------
    // Mouse and keys are accepted. Hides QWidget::setEnabled on purpose: a
    // disabled fader keeps its hover state, its drag and its focus, and looks
    // the same.
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    // Clamped to 0..MaxValue; raises nothing.
    int Value() const { return value_; }
    void setValue(int v);
    QString ValueTip() const;
    void setValueTip(const QString& text);
    // Resets Value to half the maximum (halves to even). At least 1.
    int MaxValue() const { return maxValue_; }
    void setMaxValue(int max);
    // Like MaxValue, but keeps Value unless it is above the new maximum.
    void setMaxValuePreview(int max);
    QString Title() const;
    void setTitle(const QString& title);
    bool TitleVisible() const;
    void setTitleVisible(bool on);
    // Tall variant; the height and label rows follow at the next resize.
    bool ShowSize() const { return showSize_; }
    void setShowSize(bool on);
    QString Text1() const;
    void setText1(const QString& text);
    QString Text2() const;
    void setText2(const QString& text);
    QString Text3() const;
    void setText3(const QString& text);
    // Stored for the main window; the fader itself never reads it.
    bool ValueGlobal() const { return valueGlobal_; }
    void setValueGlobal(bool on);
    // 0 to 9: the format of the value text.
    int ValueTipType() const { return valueTipType_; }
    void setValueTipType(int type);

    // --- design-time settings -----------------------------------------------
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const PropertyBag& bag) override;
    void UserControl_WriteProperties(PropertyBag& bag) const override;

    // --- drawing ------------------------------------------------------------
    void UpdateValueText();
    void PaintFader();

    // --- state the drawing and the pointer handling leave behind ------------
    int KnobY() const { return knobY_; }
    float PixelsPerUnit() const { return pixelsPerUnit_; }
    bool Hot() const { return hot_; }
    bool KeyActive() const { return keyActive_; }
    bool Dragging() const { return dragging_; }
    int LastValue() const { return lastValue_; }
    // The control's own tag: "In" while the pointer is on the knob. Not the
    // host's Tag.
    QString ownTag() const { return ownTag_; }
    // 99 (the fader's cursor) while the pointer is on the knob, else 0.
    int MousePointer() const { return mousePointer_; }

    static constexpr int TrackLeft = 35;
    static constexpr int TrackTop = 28;
    static constexpr ColorRef FaderBackColor = 0x3F3F3D;
    static constexpr int HeightTwips = 1500;
    static constexpr int HeightTwipsTall = 1660;

signals:
    // A drag changed the value, or an arrow key stepped it.
    void Scroll();
    // The pointer came onto the knob.
    void MouseIn();

protected:
    void UserControl_Paint() override { PaintFader(); }
    void UserControl_Resize() override;

    // Platform events, in the control's pixels.
    void UserControl_MouseMove(float X, float Y);
    void UserControl_MouseDown();
    void UserControl_MouseUp();
    // Sets KeyCode to 0 when it swallows the key. True when a step was made.
    bool UserControl_KeyDown(int& KeyCode);
    void UserControl_LostFocus();
    void KeepCursorOnKnob();

    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void centreTitle();
    // Sets a label's text, re-centring the title, then repaints and marks the property.
    void writeCaption(QLabel* label, const QString& text, const char* name);
    void leaveKnob();
    int halfOf(int max) const;
    // Pixels of knob travel per unit of value for the present maximum and size.
    float travelPerUnit() const;
    static int atLeastOne(int max);

    QLabel* Label1 = nullptr; // title
    QLabel* Label2 = nullptr; // value text
    QLabel* Label3 = nullptr; // top of the scale
    QLabel* Label4 = nullptr; // middle of the scale
    QLabel* Label5 = nullptr; // bottom of the scale

    bool enabled_ = true;
    int value_ = 0;
    int maxValue_ = 1;
    int lastValue_ = 0;
    int knobY_ = 0;
    bool dragging_ = false;
    bool hot_ = false;
    bool keyActive_ = false;
    bool showSize_ = false;
    bool valueGlobal_ = false;
    int valueTipType_ = 0;
    // Set by every paint, and before the first one from the maximum, so that
    // a drag never divides by zero.
    float pixelsPerUnit_ = 0.0f;
    std::optional<QRegion> eraseRegion_;
    QString ownTag_;
    int mousePointer_ = 0;
};

} // namespace sonmira::controls
