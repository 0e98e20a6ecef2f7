#include "widgets/CellWidget.h"


#include <QMouseEvent>

CellWidget::CellWidget(int index, QWidget* parent)
    : QWidget(parent)
    , index_(index)
{
    setMouseTracking(true);
    hide();
}

void CellWidget::mouseMoveEvent(QMouseEvent*)
{
    emit moved(index_);
}

void CellWidget::mousePressEvent(QMouseEvent* e)
{
    emit pressed(index_, e->button());
}

void CellWidget::mouseReleaseEvent(QMouseEvent* e)
{
    emit released(index_, e->button());
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked(index_);
}
