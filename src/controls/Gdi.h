#pragma once
// The small drawing layer of the skinned controls: colours in 0x00BBGGRR,
// twips and pixels, rectangular regions, and the two pen and brush routines the
// controls paint with. Drawing goes to the control's surface (a QImage) with
// the pixel rules the controls were laid out for: a line leaves out its end
// point, a rectangle region leaves out its right column and bottom row.
#include <QColor>
#include <QRegion>

#include <cstdint>

class QImage;

namespace sonmira::controls {

using ColorRef = std::uint32_t; // 0x00BBGGRR

constexpr ColorRef rgbColor(int r, int g, int b) {
    return ColorRef(r & 0xFF) | (ColorRef(g & 0xFF) << 8) | (ColorRef(b & 0xFF) << 16);
}
constexpr int redOf(ColorRef c) { return int(c & 0xFF); }
constexpr int greenOf(ColorRef c) { return int((c >> 8) & 0xFF); }
constexpr int blueOf(ColorRef c) { return int((c >> 16) & 0xFF); }

QColor toQColor(ColorRef c);
ColorRef fromQColor(const QColor& c);

// The program runs at 96 DPI only.
constexpr int TwipsPerPixel = 15;
int twipsToPixels(int twips); // to the nearest pixel, halves to even
constexpr int pixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

// Nearest integer, halves to even (2.5 gives 2, 3.5 gives 4).
int roundHalfEven(double v);

// The region from (x1, y1) up to but not including (x2, y2).
QRegion CreateRectRgn(int x1, int y1, int x2, int y2);

// A solid line of the given width from (x1, y1) towards (x2, y2); the end
// point is not painted. A wide line is centred on the given row or column
// (for width 2 the extra row lies above, the extra column to the left).
void DrawLine(QImage& dc, int x1, int y1, int x2, int y2, ColorRef colour, int width);

void FillRgnColor(QImage& dc, const QRegion& region, ColorRef colour);

} // namespace sonmira::controls
