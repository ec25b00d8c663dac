#include "base/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {

constexpr double FallbackDpi = 96.0;

const QScreen *screenOrPrimary(const QScreen *screen)
{
    if (screen)
        return screen;
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                   ? QGuiApplication::primaryScreen()
                   : nullptr;
}

int rounded(double value)
{
    return int(std::lround(value));
}

} // namespace

namespace Twips {

double dpiX(const QScreen *screen)
{
    const QScreen *s = screenOrPrimary(screen);
    const double dpi = s ? s->logicalDotsPerInchX() : 0.0;
    return dpi > 0.0 ? dpi : FallbackDpi;
}

double dpiY(const QScreen *screen)
{
    const QScreen *s = screenOrPrimary(screen);
    const double dpi = s ? s->logicalDotsPerInchY() : 0.0;
    return dpi > 0.0 ? dpi : FallbackDpi;
}

int toPixelsX(double twips, const QScreen *screen)
{
    return rounded(twips * dpiX(screen) / PerInch);
}

int toPixelsY(double twips, const QScreen *screen)
{
    return rounded(twips * dpiY(screen) / PerInch);
}

QPoint toPixels(const QPoint &twips, const QScreen *screen)
{
    return {toPixelsX(twips.x(), screen), toPixelsY(twips.y(), screen)};
}

QSize toPixels(const QSize &twips, const QScreen *screen)
{
    return {toPixelsX(twips.width(), screen), toPixelsY(twips.height(), screen)};
}

QRect toPixels(const QRect &twips, const QScreen *screen)
{
    return {toPixels(twips.topLeft(), screen), toPixels(twips.size(), screen)};
}

int fromPixelsX(double pixels, const QScreen *screen)
{
    return rounded(pixels * PerInch / dpiX(screen));
}

int fromPixelsY(double pixels, const QScreen *screen)
{
    return rounded(pixels * PerInch / dpiY(screen));
}

} // namespace Twips
