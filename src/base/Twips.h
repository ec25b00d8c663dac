#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;

// Windows are laid out in twips (1440 per inch). One inch is the screen's logical DPI in
// logical pixels, so a layout keeps its size on screen at every scale factor: at 100 % and
// at 200 % alike, 1440 twips are 96 logical pixels on a 96 DPI desktop (Qt draws those with
// twice the device pixels at 200 %).
namespace Twips {

inline constexpr int PerInch = 1440;

// The logical DPI of `screen`, or of the primary screen; 96 when there is none.
double dpiX(const QScreen *screen = nullptr);
double dpiY(const QScreen *screen = nullptr);

// Rounded to the nearest logical pixel.
int toPixelsX(double twips, const QScreen *screen = nullptr);
int toPixelsY(double twips, const QScreen *screen = nullptr);
QPoint toPixels(const QPoint &twips, const QScreen *screen = nullptr);
QSize toPixels(const QSize &twips, const QScreen *screen = nullptr);
QRect toPixels(const QRect &twips, const QScreen *screen = nullptr);

// Logical pixels back to twips, rounded.
int fromPixelsX(double pixels, const QScreen *screen = nullptr);
int fromPixelsY(double pixels, const QScreen *screen = nullptr);

} // namespace Twips
