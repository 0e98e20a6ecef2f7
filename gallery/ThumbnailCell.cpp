#include "ThumbnailCell.h"

#include "search/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

ThumbnailCell::ThumbnailCell(int index, QWidget* parent)
    : QWidget(parent)
    , index_(index)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void ThumbnailCell::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void ThumbnailCell::clearPicture()
{
    picture_ = QImage();
    update();
}

void ThumbnailCell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!picture_.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QPoint(0, 0), picture_);
    }
}

void ThumbnailCell::mouseMoveEvent(QMouseEvent*)
{
    emit moved(index_);
}

void ThumbnailCell::mousePressEvent(QMouseEvent* e)
{
    emit pressed(index_, PictureButton::buttonCode(e->button()));
}

void ThumbnailCell::mouseReleaseEvent(QMouseEvent* e)
{
    const int button = PictureButton::buttonCode(e->button());
    emit released(index_, button);
    if (button == 1 && rect().contains(e->position().toPoint()))
        emit clicked(index_);
}
