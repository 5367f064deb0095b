#pragma once
// The percentage strip along the bottom of the main window: a black frame, a
// red-to-blue ramp over the done part, light grey over the rest and the
// percentage in bold near the middle. The link sets it while packets go out.
#include "SkinnedControl.h"
#include "link/ProgressView.h"

#include <cstdint>

namespace sonmira::controls {

class C_ProgressBar : public SkinnedControl, public link::ProgressView {
    Q_OBJECT
public:
    explicit C_ProgressBar(QWidget* parent = nullptr);
    ~C_ProgressBar() override;

    // Write only. A percentage above 100 shows as 100.
    void setValue(std::uint8_t percent);

    // ProgressView: the link's percentage, kept to 0..100.
    void setProgressValue(int percent) override;

    void DrawProgress();

    static constexpr ColorRef PictureBackColor = 0xE0E0E0;
    static constexpr ColorRef PictureTextColor = 0xC0FFFF;
    static constexpr ColorRef RestColor = 0xC0C0C0;

protected:
    void UserControl_Paint() override { DrawProgress(); }
    void UserControl_Show() override { DrawProgress(); }
    // The picture box covers the whole control, so its colour shows.
    ColorRef eraseColor() const override { return PictureBackColor; }

private:
    void PaintGradient(ColorRef first, ColorRef last, int x0, int y0, int span, int bottom,
                       int filled);

    int value_ = 0;
};

} // namespace sonmira::controls
