#include "widgets/GalleryField.h"

#include "assets/ButtonArt.h"

#include <QMouseEvent>
#include <QPainter>

GalleryField::GalleryField(QWidget* parent)
    : QWidget(parent)
    , background_(ButtonArt::fieldBackground(ButtonArt::scaleFor(devicePixelRatioF())))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GalleryField::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    // The picture may hold more pixels than the widget has logical ones.
    const qreal s = background_.devicePixelRatio();
    const QRectF r(e->rect());
    p.drawImage(r, background_, QRectF(r.topLeft() * s, r.size() * s));
}

void GalleryField::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

void GalleryField::mouseReleaseEvent(QMouseEvent* e)
{
    emit mouseReleased(e->button(), e->modifiers(), e->position().toPoint());
}
