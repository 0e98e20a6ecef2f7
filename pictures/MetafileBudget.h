#pragma once

#include <QElapsedTimer>

struct WmfLibrary;

#include <libwmf/api.h>
#include <libwmf/ipa.h>

// Keeps one drawing of a metafile within a bounded amount of work.
//
// libwmf's drawing device stamps a pen's whole footprint at every pixel of a
// line, so a file of a few dozen bytes that maps one logical unit onto
// thousands of pixels (a stretched window over a tall picture) turns a plain
// rectangle into minutes of work. Installed between the player and the
// device, the budget prices every drawing call in touched pixels before it
// runs; once the price passes the budget, or the drawing has taken too long,
// the call is skipped and the player stopped, and the picture counts as
// unreadable.
class MetafileBudget {
public:
    // Pixels a whole drawing may touch: a few seconds of the device's work,
    // a hundred times what a rich full-screen drawing needs.
    static constexpr double kPixelTouches = 6e8;
    static constexpr qint64 kMilliseconds = 3000;

    // Wraps api's device, which must be set up and scanned; pixelsPerUnitX
    // and Y map the picture's units onto the drawn image.
    MetafileBudget(const WmfLibrary& wmf, wmfAPI* api, double pixelsPerUnitX, double pixelsPerUnitY,
                   double imagePixels);
    MetafileBudget(const MetafileBudget&) = delete;
    MetafileBudget& operator=(const MetafileBudget&) = delete;

    // True once a call was refused; the drawing is then incomplete.
    bool exhausted() const { return exhausted_; }

private:
    static MetafileBudget& of(wmfAPI* api);
    static int status(void* context, float fraction);

    // Charges a price; false (and the player stopped) when it cannot be paid.
    bool pay(wmfAPI* api, double touches);
    // Runs the device's own call when its price can be paid.
    template <class Args>
    void run(wmfAPI* api, Args* args, double price, void (*wmfFunctionReference::*call)(wmfAPI*, Args*));
    double stroke(const wmfDC* dc, double lengthInPixels) const;
    double length(const wmfD_Coord& from, const wmfD_Coord& to) const;
    double outline(const wmfD_Coord& tl, const wmfD_Coord& br) const;
    double area(const wmfD_Coord& tl, const wmfD_Coord& br) const;
    double shape(const wmfD_Coord& tl, const wmfD_Coord& br, const wmfDC* dc) const;
    double polyline(const wmfD_Coord* points, unsigned count, bool closed) const;
    double fill(const wmfD_Coord* points, unsigned count) const;

    static void floodInterior(wmfAPI* api, wmfFlood_t* d);
    static void floodExterior(wmfAPI* api, wmfFlood_t* d);
    static void drawPixel(wmfAPI* api, wmfDrawPixel_t* d);
    static void drawPie(wmfAPI* api, wmfDrawArc_t* d);
    static void drawChord(wmfAPI* api, wmfDrawArc_t* d);
    static void drawArc(wmfAPI* api, wmfDrawArc_t* d);
    static void drawEllipse(wmfAPI* api, wmfDrawArc_t* d);
    static void drawLine(wmfAPI* api, wmfDrawLine_t* d);
    static void polyLine(wmfAPI* api, wmfPolyLine_t* d);
    static void drawPolygon(wmfAPI* api, wmfPolyLine_t* d);
    static void drawPolypolygon(wmfAPI* api, wmfPolyPoly_t* d);
    static void drawRectangle(wmfAPI* api, wmfDrawRectangle_t* d);
    static void ropDraw(wmfAPI* api, wmfROP_Draw_t* d);
    static void bmpDraw(wmfAPI* api, wmfBMP_Draw_t* d);
    static void drawText(wmfAPI* api, wmfDrawText_t* d);
    static void regionFrame(wmfAPI* api, wmfPolyRectangle_t* d);
    static void regionPaint(wmfAPI* api, wmfPolyRectangle_t* d);
    static void regionClip(wmfAPI* api, wmfPolyRectangle_t* d);

    wmfFunctionReference device_{};  // the device's own calls
    double scaleX_;
    double scaleY_;
    double imagePixels_;
    double spent_ = 0;
    bool exhausted_ = false;
    QElapsedTimer clock_;
};
