#include "session/ScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdint>

ScreenMetrics::ScreenMetrics(int twipsPerPixelX, int twipsPerPixelY)
    : x_(std::max(twipsPerPixelX, 1))
    , y_(std::max(twipsPerPixelY, 1))
{
}

ScreenMetrics ScreenMetrics::ofDotsPerInch(double x, double y)
{
    return {twipsPerPixel(x), twipsPerPixel(y)};
}

ScreenMetrics ScreenMetrics::ofPrimaryScreen()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? ofDotsPerInch(s->logicalDotsPerInchX(), s->logicalDotsPerInchY()) : ScreenMetrics();
}

int ScreenMetrics::twipsPerPixel(double dotsPerInch)
{
    if (!(dotsPerInch > 0))
        return 15;
    return int(std::lround(1440.0 / dotsPerInch));
}

int ScreenMetrics::scaledFontSize(int twipsPerPixel, int nominal)
{
    const auto product = int16_t(twipsPerPixel * nominal);
    const int size = product / 15;
    return size > 0 ? size : 1;
}
