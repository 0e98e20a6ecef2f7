#include "pictures/MetafileBudget.h"

#include "pictures/WmfLibrary.h"

#include <libwmf/defs.h>
#include <libwmf/macro.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Replaces a call of the device, where it has one.
template <class Call>
void wrap(Call& slot, Call replacement)
{
    if (slot)
        slot = replacement;
}

// The footprint of a pen in pixels: the device stamps at least one pixel.
double side(double units, double scale)
{
    return std::max(1.0, std::abs(units) * scale);
}

}  // namespace

MetafileBudget::MetafileBudget(const WmfLibrary& wmf, wmfAPI* api, double pixelsPerUnitX, double pixelsPerUnitY,
                               double imagePixels)
    : scaleX_(std::abs(pixelsPerUnitX))
    , scaleY_(std::abs(pixelsPerUnitY))
    , imagePixels_(imagePixels)
{
    auto* calls = static_cast<wmfFunctionReference*>(api->function_reference);
    device_ = *calls;
    wrap(calls->flood_interior, floodInterior);
    wrap(calls->flood_exterior, floodExterior);
    wrap(calls->draw_pixel, drawPixel);
    wrap(calls->draw_pie, drawPie);
    wrap(calls->draw_chord, drawChord);
    wrap(calls->draw_arc, drawArc);
    wrap(calls->draw_ellipse, drawEllipse);
    wrap(calls->draw_line, drawLine);
    wrap(calls->poly_line, polyLine);
    wrap(calls->draw_polygon, drawPolygon);
    wrap(calls->draw_polypolygon, drawPolypolygon);
    wrap(calls->draw_rectangle, drawRectangle);
    wrap(calls->rop_draw, ropDraw);
    wrap(calls->bmp_draw, bmpDraw);
    wrap(calls->draw_text, drawText);
    wrap(calls->region_frame, regionFrame);
    wrap(calls->region_paint, regionPaint);
    wrap(calls->region_clip, regionClip);
    api->user_data = this;
    // The player asks between records whether to go on.
    wmf.wmf_status_function(api, this, status);
    clock_.start();
}

MetafileBudget& MetafileBudget::of(wmfAPI* api)
{
    return *static_cast<MetafileBudget*>(api->user_data);
}

int MetafileBudget::status(void* context, float)
{
    auto* budget = static_cast<MetafileBudget*>(context);
    if (budget->clock_.elapsed() > kMilliseconds)
        budget->exhausted_ = true;
    return budget->exhausted_ ? 1 : 0;
}

bool MetafileBudget::pay(wmfAPI* api, double touches)
{
    // NaN and infinite prices (from wild coordinates) are never paid.
    if (!exhausted_ && std::isfinite(touches) && spent_ + touches <= kPixelTouches &&
        clock_.elapsed() <= kMilliseconds) {
        spent_ += touches;
        return true;
    }
    exhausted_ = true;
    api->err = wmf_E_UserExit;  // the player stops after this record
    return false;
}

template <class Args>
void MetafileBudget::run(wmfAPI* api, Args* args, double price, void (*wmfFunctionReference::*call)(wmfAPI*, Args*))
{
    if (pay(api, price))
        (device_.*call)(api, args);
}

double MetafileBudget::stroke(const wmfDC* dc, double lengthInPixels) const
{
    const wmfPen* pen = dc ? dc->pen : nullptr;
    if (!pen || WMF_PEN_STYLE(pen) == PS_NULL)
        return 0;
    return (lengthInPixels + 1) * side(WMF_PEN_WIDTH(pen), scaleX_) * side(WMF_PEN_HEIGHT(pen), scaleY_);
}

double MetafileBudget::length(const wmfD_Coord& from, const wmfD_Coord& to) const
{
    return std::hypot((double(to.x) - from.x) * scaleX_, (double(to.y) - from.y) * scaleY_);
}

double MetafileBudget::outline(const wmfD_Coord& tl, const wmfD_Coord& br) const
{
    return 2 * (std::abs(double(br.x) - tl.x) * scaleX_ + std::abs(double(br.y) - tl.y) * scaleY_);
}

double MetafileBudget::area(const wmfD_Coord& tl, const wmfD_Coord& br) const
{
    return (std::abs(double(br.x) - tl.x) * scaleX_ + 1) * (std::abs(double(br.y) - tl.y) * scaleY_ + 1);
}

double MetafileBudget::shape(const wmfD_Coord& tl, const wmfD_Coord& br, const wmfDC* dc) const
{
    return area(tl, br) + stroke(dc, outline(tl, br));
}

double MetafileBudget::polyline(const wmfD_Coord* points, unsigned count, bool closed) const
{
    double total = 0;
    for (unsigned i = 1; i < count; ++i)
        total += length(points[i - 1], points[i]);
    if (closed && count > 2)
        total += length(points[count - 1], points[0]);
    return total;
}

void MetafileBudget::floodInterior(wmfAPI* api, wmfFlood_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.imagePixels_, &wmfFunctionReference::flood_interior);
}

void MetafileBudget::floodExterior(wmfAPI* api, wmfFlood_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.imagePixels_, &wmfFunctionReference::flood_exterior);
}

void MetafileBudget::drawPixel(wmfAPI* api, wmfDrawPixel_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, side(d->pixel_width, b.scaleX_) * side(d->pixel_height, b.scaleY_),
          &wmfFunctionReference::draw_pixel);
}

void MetafileBudget::drawPie(wmfAPI* api, wmfDrawArc_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.shape(d->TL, d->BR, d->dc), &wmfFunctionReference::draw_pie);
}

void MetafileBudget::drawChord(wmfAPI* api, wmfDrawArc_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.shape(d->TL, d->BR, d->dc), &wmfFunctionReference::draw_chord);
}

void MetafileBudget::drawArc(wmfAPI* api, wmfDrawArc_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.stroke(d->dc, b.outline(d->TL, d->BR)), &wmfFunctionReference::draw_arc);
}

void MetafileBudget::drawEllipse(wmfAPI* api, wmfDrawArc_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.shape(d->TL, d->BR, d->dc), &wmfFunctionReference::draw_ellipse);
}

void MetafileBudget::drawLine(wmfAPI* api, wmfDrawLine_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.stroke(d->dc, b.length(d->from, d->to)), &wmfFunctionReference::draw_line);
}

void MetafileBudget::polyLine(wmfAPI* api, wmfPolyLine_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.stroke(d->dc, b.polyline(d->pt, d->count, false)), &wmfFunctionReference::poly_line);
}

double MetafileBudget::fill(const wmfD_Coord* points, unsigned count) const
{
    if (count == 0)
        return 0;
    wmfD_Coord tl = points[0];
    wmfD_Coord br = points[0];
    for (unsigned i = 1; i < count; ++i) {
        tl.x = std::min(tl.x, points[i].x);
        tl.y = std::min(tl.y, points[i].y);
        br.x = std::max(br.x, points[i].x);
        br.y = std::max(br.y, points[i].y);
    }
    // The device walks every row of the shape past every corner, then
    // paints its spans.
    const double rows = std::abs(double(br.y) - tl.y) * scaleY_ + 1;
    return area(tl, br) + rows * count;
}

void MetafileBudget::drawPolygon(wmfAPI* api, wmfPolyLine_t* d)
{
    MetafileBudget& b = of(api);
    const double fill = b.fill(d->pt, d->count);
    b.run(api, d, fill + b.stroke(d->dc, b.polyline(d->pt, d->count, true)), &wmfFunctionReference::draw_polygon);
}

void MetafileBudget::drawPolypolygon(wmfAPI* api, wmfPolyPoly_t* d)
{
    MetafileBudget& b = of(api);
    double price = 0;
    for (unsigned i = 0; i < d->npoly; ++i)
        price += b.fill(d->pt[i], d->count[i]) + b.stroke(d->dc, b.polyline(d->pt[i], d->count[i], true));
    b.run(api, d, price, &wmfFunctionReference::draw_polypolygon);
}

void MetafileBudget::drawRectangle(wmfAPI* api, wmfDrawRectangle_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.shape(d->TL, d->BR, d->dc), &wmfFunctionReference::draw_rectangle);
}

void MetafileBudget::ropDraw(wmfAPI* api, wmfROP_Draw_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, b.area(d->TL, d->BR), &wmfFunctionReference::rop_draw);
}

void MetafileBudget::bmpDraw(wmfAPI* api, wmfBMP_Draw_t* d)
{
    MetafileBudget& b = of(api);
    const double shown = side(d->crop.w * d->pixel_width, b.scaleX_) * side(d->crop.h * d->pixel_height, b.scaleY_);
    b.run(api, d, shown + double(d->crop.w) * d->crop.h, &wmfFunctionReference::bmp_draw);
}

void MetafileBudget::drawText(wmfAPI* api, wmfDrawText_t* d)
{
    MetafileBudget& b = of(api);
    // Every letter is drawn as a glyph of the font's height.
    const double height = side(d->font_height, b.scaleY_);
    const double width = std::max(1.0, height * std::abs(d->font_ratio) * b.scaleX_ / b.scaleY_);
    const double letters = d->str ? double(std::strlen(d->str)) : 0;
    b.run(api, d, letters * height * width + 1, &wmfFunctionReference::draw_text);
}

void MetafileBudget::regionFrame(wmfAPI* api, wmfPolyRectangle_t* d)
{
    MetafileBudget& b = of(api);
    double price = 0;
    const double pen = side(d->width, b.scaleX_) * side(d->height, b.scaleY_);
    for (unsigned i = 0; i < d->count; ++i)
        price += (b.outline(d->TL[i], d->BR[i]) + 1) * pen;
    b.run(api, d, price, &wmfFunctionReference::region_frame);
}

void MetafileBudget::regionPaint(wmfAPI* api, wmfPolyRectangle_t* d)
{
    MetafileBudget& b = of(api);
    double price = 0;
    for (unsigned i = 0; i < d->count; ++i)
        price += b.area(d->TL[i], d->BR[i]);
    b.run(api, d, price, &wmfFunctionReference::region_paint);
}

void MetafileBudget::regionClip(wmfAPI* api, wmfPolyRectangle_t* d)
{
    MetafileBudget& b = of(api);
    b.run(api, d, double(d->count) + 1, &wmfFunctionReference::region_clip);
}
