#pragma once

// Twips (1/1440 inch) per pixel and the font scaling that follows from them.
namespace ScreenMetrics {

// 1440 / dots per inch, rounded: 15 at 96 dpi, 12 at 120 dpi.
int twipsPerPixel(double dotsPerInch);

// The fixed pixel layout would overflow with large fonts, so a control of
// nominal size k gets Int(twips * k / 15) points: at 12 twips per pixel 9
// becomes 7, and 10 and 11 become 8.
int scaledFontSize(int twipsPerPixel, int nominal);

}  // namespace ScreenMetrics
