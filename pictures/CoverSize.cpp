#include "pictures/CoverSize.h"

#include <cmath>

namespace CoverSize {

QSizeF exact(QSize picture)
{
    const float W = float(picture.width()), H = float(picture.height());
    if (W <= 0 || H <= 0)
        return {100, 85};
    if (H * 0.85f > W)
        return {100.0, double(H * 100.0f / W)};
    float w = W * 85.0f / H, h = 85.0f;
    if (w < 100.0f) {
        w = 100.0f;
        h = H * 100.0f / W;
    }
    return {double(w), double(h)};
}

QSize rounded(QSize picture)
{
    const QSizeF s = exact(picture);
    // std::nearbyint rounds halves to even under the default rounding mode.
    return {int(std::nearbyint(s.width())), int(std::nearbyint(s.height()))};
}

}  // namespace CoverSize
