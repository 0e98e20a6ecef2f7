#include "slideshow/PanelButton.h"

#include "slideshow/PanelButtonAccessible.h"
#include "widgets/FocusMark.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PanelButton::PanelButton(PanelMotif motif, Release rule, Kind kind, QWidget* parent)
    : QWidget(parent)
    , motif_(motif)
    , rule_(rule)
    , kind_(kind)
{
    PanelButtonAccessible::install();
    setFixedSize(PanelIcons::kSize, PanelIcons::kSize);
    setMouseTracking(true);
    // Reached by Tab; a click does not take the focus from where the keys left it.
    setFocusPolicy(Qt::TabFocus);
}

void PanelButton::setLook(PanelLook look)
{
    if (look == PanelLook::Idle)
        open_ = false;
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

void PanelButton::open()
{
    if (kind_ == Kind::Command) {
        setLook(PanelLook::Idle);
    } else {
        open_ = true;
        setLook(PanelLook::Pressed);
    }
    emit opened();
}

void PanelButton::activate()
{
    if (press_ != Press::None)
        return;  // the pointer's press decides
    byKey_ = true;
    if (open_)
        emit closing();
    else
        open();
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
    if (open_) {
        press_ = Press::FromOpen;
    } else if (look_ == PanelLook::Hover) {
        press_ = Press::FromHover;
        setLook(PanelLook::Pressed);
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
    if (press == Press::None)
        return;
    byKey_ = false;
    if (press == Press::FromHover) {
        if (!acts) {
            setLook(PanelLook::Idle);
            emit cancelled();
            return;
        }
        open();
    } else if (acts) {
        emit closing();
    } else {
        emit closeMissed();
    }
}

void PanelButton::keyPressEvent(QKeyEvent* e)
{
    const int k = e->key();
    if (k != Qt::Key_Space && k != Qt::Key_Return && k != Qt::Key_Enter) {
        QWidget::keyPressEvent(e);  // Esc and the rest go to the window
        return;
    }
    if (!std::exchange(keyboardFocus_, true))
        emit focusMarkChanged();
    if (!e->isAutoRepeat())
        activate();
}

void PanelButton::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    keyboardFocus_ = FocusMark::byKeyboard(e->reason());
    emit focusMarkChanged();
}

void PanelButton::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    // Focus that goes with the window or to a message box comes back as it was.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        keyboardFocus_ = false;
    emit focusMarkChanged();
}
