#include "widgets/GalleryField.h"

#include "assets/ButtonArt.h"

#include <QMouseEvent>
#include <QPainter>

GalleryField::GalleryField(QWidget* parent)
    : QWidget(parent)
    , background_(ButtonArt::fieldBackground())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GalleryField::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.drawImage(e->rect(), background_, e->rect());
}

void GalleryField::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

void GalleryField::mouseReleaseEvent(QMouseEvent* e)
{
    emit mouseReleased(e->button(), e->modifiers(), e->position().toPoint());
}
