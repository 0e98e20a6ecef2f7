#include "widgets/NameLabel.h"

#include <QPainter>

const QColor NameLabel::kGreen(0, 255, 0);
const QColor NameLabel::kRed(255, 0, 0);
const QColor NameLabel::kYellow(255, 255, 0);

NameLabel::NameLabel(int index, QWidget* parent)
    : CellWidget(index, parent)
{
}

void NameLabel::setCaption(const QString& caption)
{
    caption_ = caption;
    setAccessibleName(caption);  // the flower's name is the cell's name
    update();
}

void NameLabel::setColour(const QColor& colour)
{
    if (colour_ == colour)
        return;
    colour_ = colour;
    update();
}

void NameLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(colour_);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine,
               fontMetrics().elidedText(caption_, Qt::ElideRight, width()));
    paintFocusMark(p);
}
