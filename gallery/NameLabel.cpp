#include "NameLabel.h"

#include "search/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

const QColor NameLabel::kGreen(0, 255, 0);
const QColor NameLabel::kRed(255, 0, 0);
const QColor NameLabel::kYellow(255, 255, 0);

NameLabel::NameLabel(int index, QWidget* parent)
    : QWidget(parent)
    , index_(index)
{
    setMouseTracking(true);
    hide();
}

void NameLabel::setCaption(const QString& caption)
{
    caption_ = caption;
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
}

void NameLabel::mouseMoveEvent(QMouseEvent*)
{
    emit moved(index_);
}

void NameLabel::mousePressEvent(QMouseEvent* e)
{
    emit pressed(index_, PictureButton::buttonCode(e->button()));
}

void NameLabel::mouseReleaseEvent(QMouseEvent* e)
{
    const int button = PictureButton::buttonCode(e->button());
    emit released(index_, button);
    if (button == 1 && rect().contains(e->position().toPoint()))
        emit clicked(index_);
}
