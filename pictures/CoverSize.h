#pragma once

#include <QSize>
#include <QSizeF>

// The drawing size of a picture in a 100 x 85 gallery cell: it covers the
// whole cell and keeps its proportions; what lies beyond is cut at the right
// or bottom edge.
namespace CoverSize {

// Exact size (for the page redraw, which draws unrounded).
QSizeF exact(QSize picture);
// Rounded to whole pixels, halves to the even number.
QSize rounded(QSize picture);

}  // namespace CoverSize
