#pragma once

// The screen's twips (1/1440 inch) per pixel, horizontal and vertical, and
// the font scaling that follows from them: a value fixed when the program
// starts, the same for every window.
class ScreenMetrics {
public:
    // 96 dots per inch: 15 twips per pixel.
    ScreenMetrics() = default;
    ScreenMetrics(int twipsPerPixelX, int twipsPerPixelY);
    static ScreenMetrics ofDotsPerInch(double x, double y);
    // The primary screen's; 15 twips per pixel without one.
    static ScreenMetrics ofPrimaryScreen();

    int twipsPerPixelX() const { return x_; }
    int twipsPerPixelY() const { return y_; }
    // Font size for a control with the given nominal size on this screen.
    int fontSize(int nominal) const { return scaledFontSize(x_, nominal); }

    // 1440 / dots per inch, rounded: 15 at 96 dpi, 12 at 120 dpi.
    static int twipsPerPixel(double dotsPerInch);
    // The fixed pixel layout would overflow with large fonts, so a control of
    // nominal size k gets Int(twips * k / 15) points: at 12 twips per pixel 9
    // becomes 7, and 10 and 11 become 8.
    static int scaledFontSize(int twipsPerPixel, int nominal);

private:
    int x_ = 15;
    int y_ = 15;
};
