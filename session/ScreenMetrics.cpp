#include "session/ScreenMetrics.h"

#include <cmath>
#include <cstdint>

namespace ScreenMetrics {

int twipsPerPixel(double dotsPerInch)
{
    if (!(dotsPerInch > 0))
        return 15;
    return int(std::lround(1440.0 / dotsPerInch));
}

int scaledFontSize(int twipsPerPixel, int nominal)
{
    const auto product = int16_t(twipsPerPixel * nominal);
    const int size = product / 15;
    return size > 0 ? size : 1;
}

}  // namespace ScreenMetrics
