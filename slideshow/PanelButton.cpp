#include "slideshow/PanelButton.h"

#include <QMouseEvent>
#include <QPainter>

PanelButton::PanelButton(PanelMotif motif, Release rule, bool keepsOpen, QWidget* parent)
    : QWidget(parent)
    , motif_(motif)
    , rule_(rule)
    , keepsOpen_(keepsOpen)
{
    setFixedSize(PanelIcons::kSize, PanelIcons::kSize);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void PanelButton::setLook(PanelLook look)
{
    if (look_ == look)
        return;
    look_ = look;
    update();
    emit lookChanged(look);
}

void PanelButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PanelIcons::paint(p, motif_, look_, QRectF(rect()));
}

bool PanelButton::inside(QPointF pos) const
{
    // The edges count as inside.
    return pos.x() >= 0 && pos.y() >= 0 && pos.x() <= width() && pos.y() <= height();
}

void PanelButton::mouseMoveEvent(QMouseEvent* e)
{
    e->accept();
    if (press_ != Press::None)
        return;
    if (look_ == PanelLook::Idle) {
        setLook(PanelLook::Hover);
        emit pointed(false);
    } else if (look_ == PanelLook::Pressed) {
        emit pointed(true);
    }
}

void PanelButton::mousePressEvent(QMouseEvent* e)
{
    e->accept();
    if (press_ != Press::None)
        return;
    if (look_ == PanelLook::Hover) {
        press_ = Press::FromHover;
        setLook(PanelLook::Pressed);
    } else if (look_ == PanelLook::Pressed) {
        press_ = Press::FromOpen;
    }
}

void PanelButton::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    if (e->buttons() != Qt::NoButton)
        return;  // the last button up ends the press
    const Press press = press_;
    press_ = Press::None;
    const bool acts = rule_ == Release::Anywhere || inside(e->position());
    if (press == Press::FromHover) {
        if (!acts) {
            setLook(PanelLook::Idle);
            emit cancelled();
            return;
        }
        if (!keepsOpen_)
            setLook(PanelLook::Idle);
        emit opened();
    } else if (press == Press::FromOpen) {
        if (acts)
            emit closing();
        else
            emit closeMissed();
    }
}
