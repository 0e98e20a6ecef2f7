#include "widgets/PhotoView.h"
#include "widgets/AccessibleRole.h"

#include <QPaintEvent>
#include <QPainter>

PhotoView::PhotoView(QWidget* parent)
    : QWidget(parent)
{
    AccessibleRole::set(this, QAccessible::Graphic);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PhotoView::setPhoto(const QImage& photo, Source again)
{
    pixmap_ = QPixmap::fromImage(photo);
    again_ = std::move(again);
    update();
}

QImage PhotoView::image() const
{
    if (!pixmap_.isNull() || !again_)
        return pixmap_.toImage();
    return again_();
}

void PhotoView::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), Qt::black);
    if (pixmap_.isNull() && again_)
        pixmap_ = QPixmap::fromImage(again_());
    p.drawPixmap(0, 0, pixmap_);
    if (again_)
        pixmap_ = QPixmap();
}
