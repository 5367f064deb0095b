#pragma once
// What every skinned control shares: the design-time property bag, the
// property-changed notice to the host, painting from the Paint and Show
// events, the window region re-applied on every resize, the back colour and
// the drawing surface the control paints on.
//
// Naming: a property P of a control reads as P() and writes as setP(); an
// event E is the Qt signal E(). The host's extender Tag lives here too.
//
// A control draws into its surface (hDC()) whenever it likes, as a window
// painted straight onto its device context; the widget shows the surface and
// its child labels are drawn over it.
#include "Gdi.h"
#include "PropertyBag.h"

#include <QImage>
#include <QWidget>

namespace sonmira::controls {

class SkinnedControl : public QWidget {
    Q_OBJECT
public:
    // The control's own scale: pixels (fader, progress strip) or twips.
    enum class ScaleMode { Pixels, Twips };

    explicit SkinnedControl(ScaleMode scale, QWidget* parent = nullptr);
    ~SkinnedControl() override;

    // --- design-time settings ---------------------------------------------
    // Defaults of a newly placed instance.
    virtual void UserControl_InitProperties() {}
    // Loads the stored keys (missing keys take the control's defaults).
    virtual void UserControl_ReadProperties(const PropertyBag& bag) { (void)bag; }
    // Stores every key, in the control's order.
    virtual void UserControl_WriteProperties(PropertyBag& bag) const { (void)bag; }

    // --- extender properties kept by the host -------------------------------
    // The host's Tag (the main window keeps a parameter address in it). Not
    // the control's own tag, which some controls use for their hover state.
    QString Tag() const { return extenderTag_; }
    void setTag(const QString& tag) { extenderTag_ = tag; }

    // --- scale, colour, region ---------------------------------------------
    ScaleMode scaleMode() const { return scale_; }
    int ScaleWidth() const;  // in the control's own scale units
    int ScaleHeight() const;
    ColorRef BackColor() const { return backColor_; }
    void setBackColor(ColorRef c);

    // A rectangle from (0, 0) to (ScaleWidth + 1, ScaleHeight + 1), taken as
    // pixels and set as the window's shape; it clips nothing. Runs on every
    // resize.
    void ApplyWindowRegion();
    const QRegion& windowRegion() const { return windowRegion_; }

    // The drawing surface, sized to the widget. Drawing on it shows at the
    // next screen update.
    QImage& hDC();

signals:
    // The host's mark that a property changed, with the property's name.
    void PropertyChanged(const QString& name);

protected:
    // Paint and Show events; both redraw in every control but the fader,
    // which handles only Paint.
    virtual void UserControl_Paint() {}
    virtual void UserControl_Show() {}
    // Resize event; re-applies the window region unless a control does more.
    virtual void UserControl_Resize() { ApplyWindowRegion(); }
    // The colour a newly sized surface is cleared to (the back colour unless
    // a constituent covers the whole control).
    virtual ColorRef eraseColor() const { return backColor_; }

    // The second press of a double click is a double click, not a press:
    // no control takes it as one (no pressed face, no second toggle, no
    // drag). Its release still comes as a release.
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void ensureSurface();

    ScaleMode scale_;
    ColorRef backColor_ = 0xF0F0F0; // button face until the control sets its own
    QString extenderTag_;
    QRegion windowRegion_;
    QImage surface_;
    bool inPaint_ = false;
};

} // namespace sonmira::controls
