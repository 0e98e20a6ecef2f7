#include "slideshow/SlideLayout.h"

#include <algorithm>
#include <cmath>

SlideLayout::SlideLayout(QSize screen, int twipsX, int twipsY)
    : screen_(screen)
    , twipsX_(std::max(twipsX, 1))
    , twipsY_(std::max(twipsY, 1))
{
}

QSize SlideLayout::pictureBox() const
{
    // The picture stays centred on the screen, so the larger of the two
    // margins it needs decides on both sides.
    const int above = py(kNameAboveTwips);
    const int below = py(kNoteGapTwips) + py(kNoteHeightTwips);
    const int h = screen_.height() - 2 * std::max(above, below);
    const int w = screen_.width() - 2 * px(kSideTwips);
    return QSize(std::max(w, 1), std::max(h, 1));
}

QSize SlideLayout::fitted(QSize picture, QSize box)
{
    if (picture.isEmpty() || box.isEmpty())
        return picture;
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    const double scale = std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    const int w = std::clamp(int(std::lround(picture.width() * scale)), 1, box.width());
    const int h = std::clamp(int(std::lround(picture.height() * scale)), 1, box.height());
    return QSize(w, h);
}

QRect SlideLayout::pictureRect(QSize shown) const
{
    const int x = int(std::lround((screen_.width() - shown.width()) / 2.0));
    const int y = int(std::lround((screen_.height() - shown.height()) / 2.0));
    return QRect(QPoint(x, y), shown);
}

QPoint SlideLayout::namePos(const QRect& picture) const
{
    return QPoint(picture.x(), picture.y() - py(kNameAboveTwips));
}

QRect SlideLayout::noteRect(const QRect& picture) const
{
    return QRect(picture.x(), picture.y() + picture.height() + py(kNoteGapTwips), picture.width(),
                 py(kNoteHeightTwips));
}
