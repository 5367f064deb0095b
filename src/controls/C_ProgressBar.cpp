#include "C_ProgressBar.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace sonmira::controls {

namespace {

constexpr int MaxPercent = 100;

// A colour part P + step × i, in single precision, to the nearest even.
int rampPart(int first, float step, int i) {
    return std::clamp(roundHalfEven(float(first) + step * float(i)), 0, 255);
}

} // namespace

C_ProgressBar::C_ProgressBar(QWidget* parent) : SkinnedControl(ScaleMode::Pixels, parent) {
    setBackColor(0xFFFFFF);
}

C_ProgressBar::~C_ProgressBar() = default;

void C_ProgressBar::setValue(std::uint8_t percent) {
    // Past 100 the ramp would run over the frame and its colours out of range.
    value_ = std::min<int>(percent, MaxPercent);
    DrawProgress();
    emit PropertyChanged(QStringLiteral("Value"));
}

void C_ProgressBar::setProgressValue(int percent) {
    setValue(std::uint8_t(std::clamp(percent, 0, MaxPercent)));
}

void C_ProgressBar::DrawProgress() {
    QImage& dc = hDC();
    const int w = ScaleWidth();
    const int h = ScaleHeight();
    DrawLine(dc, 0, 0, w, 0, 0, 1);
    DrawLine(dc, 0, 0, 0, h - 1, 0, 1);
    DrawLine(dc, w - 1, 0, w - 1, h - 1, 0, 1);
    DrawLine(dc, 0, h - 1, w, h - 1, 0, 1);

    const int filled = roundHalfEven(double(w) * value_ / 100.0);
    PaintGradient(0x0000FF, 0xFF0000, 1, 1, w - 3, h - 1, filled);

    QPainter p(&dc);
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun")});
    f.setPointSizeF(14.25);
    f.setBold(true);
    p.setFont(f);
    p.setPen(toQColor(PictureTextColor));
    const QPoint at(roundHalfEven(w / 2.0 - 10), 3);
    p.drawText(QRect(at, QSize(w, h)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
               QString::number(value_) + QStringLiteral("%"));
}

void C_ProgressBar::PaintGradient(ColorRef first, ColorRef last, int x0, int y0, int span,
                                  int bottom, int filled) {
    QImage& dc = hDC();
    // A strip too narrow for a ramp has no steps (and no division by zero).
    const float s = span > 0 ? float(span) : 0.0f;
    auto step = [s](int from, int to) { return s > 0 ? float(to - from) / s : 0.0f; };
    const float stepR = step(redOf(first), redOf(last));
    const float stepG = step(greenOf(first), greenOf(last));
    const float stepB = step(blueOf(first), blueOf(last));
    for (int i = 0; i <= filled - 3; ++i) {
        const ColorRef c = rgbColor(rampPart(redOf(first), stepR, i),
                                    rampPart(greenOf(first), stepG, i),
                                    rampPart(blueOf(first), stepB, i));
        DrawLine(dc, x0 + i, y0, x0 + i, bottom, c, 1);
    }
    for (int j = filled - 3; j <= span - 1; ++j)
        if (j > 0) DrawLine(dc, x0 + j, y0, x0 + j, bottom, RestColor, 1);
}

} // namespace sonmira::controls
