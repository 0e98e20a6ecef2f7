#include "slideshow/PanelIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The sixteen colours the icons are limited to.
namespace c16 {
const QColor black(0, 0, 0);
const QColor maroon(128, 0, 0);
const QColor green(0, 128, 0);
const QColor navy(0, 0, 128);
const QColor grey(128, 128, 128);
const QColor silver(192, 192, 192);
const QColor red(255, 0, 0);
const QColor yellow(255, 255, 0);
const QColor blue(0, 0, 255);
const QColor aqua(0, 255, 255);
const QColor white(255, 255, 255);
}  // namespace c16

QPen pen(const QColor& colour, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

void PanelIcons::paint(QPainter& p, PanelMotif motif, PanelLook look, const QRectF& target)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(target.topLeft());
    p.scale(target.width() / kSize, target.height() / kSize);
    p.fillRect(QRectF(0, 0, kSize, kSize), c16::black);
    // The pressed look sits half a pixel lower and to the right, as a key
    // that went down.
    if (look == PanelLook::Pressed)
        p.translate(0.5, 0.5);
    switch (motif) {
    case PanelMotif::Book: book(p); break;
    case PanelMotif::Flower: flower(p); break;
    case PanelMotif::Sunset: sunset(p); break;
    case PanelMotif::Notes: notes(p); break;
    case PanelMotif::Stopwatch: stopwatch(p); break;
    }
    if (look == PanelLook::Pressed)
        p.translate(-0.5, -0.5);
    edge(p, look);
    p.restore();
}

void PanelIcons::book(QPainter& p)
{
    // Pages showing at the fore-edge, then the cover with a "K" on it.
    p.setPen(Qt::NoPen);
    p.setBrush(c16::white);
    p.drawRect(QRectF(4.5, 3.0, 9.0, 11.0));
    p.setPen(pen(c16::silver, 0.6));
    for (qreal y : {5.0, 7.0, 9.0, 11.0})
        p.drawLine(QPointF(12.0, y), QPointF(13.2, y));
    p.setPen(pen(c16::navy, 0.8));
    p.setBrush(c16::blue);
    p.drawRoundedRect(QRectF(2.5, 2.0, 9.5, 12.0), 0.8, 0.8);
    p.setPen(pen(c16::navy, 1.0));
    p.drawLine(QPointF(4.0, 2.4), QPointF(4.0, 13.6));  // spine
    p.setPen(pen(c16::yellow, 1.6));
    p.drawLine(QPointF(6.4, 4.8), QPointF(6.4, 11.2));
    p.drawLine(QPointF(10.0, 4.8), QPointF(6.6, 8.2));
    p.drawLine(QPointF(7.6, 7.4), QPointF(10.2, 11.2));
}

void PanelIcons::flower(QPainter& p)
{
    p.setPen(pen(c16::green, 1.2));
    p.drawLine(QPointF(8.0, 9.0), QPointF(8.0, 15.0));
    p.setBrush(c16::green);
    p.setPen(Qt::NoPen);
    QPainterPath leaf;
    leaf.moveTo(8.0, 13.0);
    leaf.quadTo(11.5, 10.0, 13.5, 12.0);
    leaf.quadTo(11.0, 14.0, 8.0, 13.0);
    p.drawPath(leaf);
    // Five white petals round a yellow heart.
    p.setPen(pen(c16::silver, 0.5));
    p.setBrush(c16::white);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(8.0, 6.5);
        p.rotate(i * 72.0);
        p.drawEllipse(QRectF(-2.0, -5.8, 4.0, 5.2));
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(c16::yellow);
    p.drawEllipse(QPointF(8.0, 6.5), 1.7, 1.7);
}

void PanelIcons::sunset(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c16::maroon);
    p.drawRect(QRectF(1.0, 1.0, 14.0, 5.0));
    p.setBrush(c16::red);
    p.drawRect(QRectF(1.0, 5.0, 14.0, 4.0));
    // Half a sun standing on the horizon.
    p.setBrush(c16::yellow);
    p.drawPie(QRectF(4.0, 5.0, 8.0, 8.0), 0, 180 * 16);
    p.setBrush(c16::navy);
    p.drawRect(QRectF(1.0, 9.0, 14.0, 6.0));
    p.setPen(pen(c16::yellow, 0.8));
    p.drawLine(QPointF(5.0, 10.5), QPointF(11.0, 10.5));
    p.setPen(pen(c16::aqua, 0.6));
    p.drawLine(QPointF(2.5, 12.5), QPointF(6.0, 12.5));
    p.drawLine(QPointF(9.0, 13.8), QPointF(13.5, 13.8));
    p.setPen(pen(c16::blue, 0.6));
    p.drawLine(QPointF(6.5, 12.0), QPointF(10.0, 12.0));
}

void PanelIcons::notes(QPainter& p)
{
    p.setPen(pen(c16::silver, 0.6));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(1.0, 3.5 + 2.2 * i), QPointF(15.0, 3.5 + 2.2 * i));
    // Two quavers joined by a beam.
    p.setPen(Qt::NoPen);
    p.setBrush(c16::yellow);
    p.save();
    p.translate(4.8, 11.8);
    p.rotate(-25);
    p.drawEllipse(QRectF(-1.9, -1.3, 3.8, 2.6));
    p.restore();
    p.save();
    p.translate(11.3, 10.0);
    p.rotate(-25);
    p.drawEllipse(QRectF(-1.9, -1.3, 3.8, 2.6));
    p.restore();
    p.setPen(pen(c16::yellow, 1.0));
    p.drawLine(QPointF(6.4, 11.2), QPointF(6.4, 3.0));
    p.drawLine(QPointF(12.9, 9.4), QPointF(12.9, 1.6));
    p.setPen(pen(c16::yellow, 1.6));
    p.drawLine(QPointF(6.4, 3.0), QPointF(12.9, 1.6));
}

void PanelIcons::stopwatch(QPainter& p)
{
    p.setPen(pen(c16::silver, 1.0));
    p.drawLine(QPointF(8.0, 1.0), QPointF(8.0, 3.0));
    p.drawLine(QPointF(6.5, 1.0), QPointF(9.5, 1.0));
    p.drawLine(QPointF(12.2, 3.6), QPointF(13.2, 2.6));
    p.setPen(pen(c16::grey, 1.2));
    p.setBrush(c16::white);
    p.drawEllipse(QPointF(8.0, 9.0), 5.8, 5.8);
    p.setPen(pen(c16::black, 0.6));
    for (int i = 0; i < 12; i += 3) {
        p.save();
        p.translate(8.0, 9.0);
        p.rotate(i * 30.0);
        p.drawLine(QPointF(0.0, -4.8), QPointF(0.0, -3.8));
        p.restore();
    }
    p.setPen(pen(c16::red, 1.0));
    p.drawLine(QPointF(8.0, 9.0), QPointF(10.6, 5.4));
    p.setPen(Qt::NoPen);
    p.setBrush(c16::black);
    p.drawEllipse(QPointF(8.0, 9.0), 0.9, 0.9);
}

void PanelIcons::edge(QPainter& p, PanelLook look)
{
    if (look == PanelLook::Idle)
        return;
    const bool raised = look == PanelLook::Hover;
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor light = c16::white;
    const QColor dark = c16::grey;
    // Lines on the pixel centres of the outermost row and column.
    p.setPen(QPen(raised ? light : dark, 1.0, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(0.5, 0.5), QPointF(15.5, 0.5));
    p.drawLine(QPointF(0.5, 0.5), QPointF(0.5, 15.5));
    p.setPen(QPen(raised ? dark : light, 1.0, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(15.5, 0.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(0.5, 15.5), QPointF(15.5, 15.5));
}
