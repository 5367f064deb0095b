#pragma once
// Pixel checks shared by the control tests.
#include "controls/Gdi.h"

#include <QImage>
#include <QString>

namespace sonmira::test {

inline QRgb pixelAt(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
inline QRgb rgbOf(controls::ColorRef c) { return controls::toQColor(c).rgb() & 0xFFFFFF; }

} // namespace sonmira::test
