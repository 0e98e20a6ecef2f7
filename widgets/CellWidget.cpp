#include "widgets/CellWidget.h"

#include "widgets/PictureButton.h"

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
    emit pressed(index_, PictureButton::buttonCode(e->button()));
}

void CellWidget::mouseReleaseEvent(QMouseEvent* e)
{
    const int button = PictureButton::buttonCode(e->button());
    emit released(index_, button);
    if (button == 1 && rect().contains(e->position().toPoint()))
        emit clicked(index_);
}
