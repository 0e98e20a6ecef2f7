#include "widgets/ThumbnailCell.h"

#include <QPainter>

ThumbnailCell::ThumbnailCell(int index, QWidget* parent)
    : CellWidget(index, parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    if (!picture_.isNull())
        p.drawImage(QPoint(0, 0), picture_);
    paintFocusMark(p);
}
