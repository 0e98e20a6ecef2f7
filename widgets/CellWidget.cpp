#include "widgets/CellWidget.h"

#include "widgets/CellAccessible.h"
#include "widgets/FocusMark.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

CellWidget::CellWidget(int index, QWidget* parent)
    : QWidget(parent)
    , index_(index)
{
    setMouseTracking(true);
    CellAccessible::install();
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

void CellWidget::setFocusMark(bool on)
{
    if (focusMark_ == on)
        return;
    focusMark_ = on;
    update();
}

void CellWidget::paintFocusMark(QPainter& p) const
{
    if (focusMark_)
        FocusMark::paint(p, rect());
}

void CellWidget::keyPressEvent(QKeyEvent* e)
{
    const int k = e->key();
    if ((k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space) && isEnabled()) {
        if (!e->isAutoRepeat())
            emit activated(index_);
        return;
    }
    QWidget::keyPressEvent(e);
}

void CellWidget::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    if (FocusMark::byKeyboard(e->reason()))
        emit focusedByKey(index_);
}

void CellWidget::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit focusLost(index_);
}
