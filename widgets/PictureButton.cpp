#include "widgets/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    hide();
}

int PictureButton::addLook(const QPixmap& picture, bool pointingCursor)
{
    looks_.push_back({picture, pointingCursor, false});
    if (looks_.size() == 1)
        resize(picture.deviceIndependentSize().toSize());
    return int(looks_.size()) - 1;
}

void PictureButton::showLook(int look)
{
    if (look < 0 || look >= looks_.size() || looks_[look].visible)
        return;
    looks_[look].visible = true;
    lookChanged();
}

void PictureButton::hideLook(int look)
{
    if (look < 0 || look >= looks_.size() || !looks_[look].visible)
        return;
    looks_[look].visible = false;
    lookChanged();
}

int PictureButton::frontLook() const
{
    for (int i = 0; i < looks_.size(); ++i)
        if (looks_[i].visible)
            return i;
    return -1;
}

void PictureButton::lookChanged()
{
    const int front = frontLook();
    setVisible(front >= 0);
    if (front >= 0) {
        if (looks_[front].pointing)
            setCursor(pointing_);
        else
            unsetCursor();
    }
    update();
}

void PictureButton::repaintNow()
{
    if (isVisible())
        repaint();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    const int front = frontLook();
    if (front < 0)
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, looks_[front].picture);
}

int PictureButton::buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int PictureButton::shiftCode(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

void PictureButton::dispatch(Event::Kind kind, int look, QMouseEvent* e, int button)
{
    if (look < 0 || !handler_)
        return;
    handler_(Event{kind, look, button, shiftCode(e->modifiers()), e->position().toPoint()});
}

void PictureButton::mouseMoveEvent(QMouseEvent* e)
{
    // While a button is held the moves belong to the pressed look.
    dispatch(Event::Move, pressedLook_ >= 0 ? pressedLook_ : frontLook(), e, 0);
}

void PictureButton::mousePressEvent(QMouseEvent* e)
{
    const int button = buttonCode(e->button());
    if (pressedLook_ >= 0 || button == 0)
        return;  // a second button while one is held goes to the same capture
    pressedLook_ = frontLook();
    dispatch(Event::Down, pressedLook_, e, button);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* e)
{
    const int button = buttonCode(e->button());
    if (button == 0 || e->buttons() != Qt::NoButton)
        return;
    const int look = pressedLook_ >= 0 ? pressedLook_ : frontLook();
    pressedLook_ = -1;
    dispatch(Event::Up, look, e, button);
}
