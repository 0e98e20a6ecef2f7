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
    looks_.push_back({picture, pointingCursor});
    if (looks_.size() == 1)
        resize(picture.deviceIndependentSize().toSize());
    return int(looks_.size()) - 1;
}

int PictureButton::frontLook() const
{
    for (int i = 0; i < looks_.size(); ++i)
        if (mask_ & (1u << i))
            return i;
    return -1;
}

void PictureButton::setLooks(unsigned mask)
{
    if (mask == mask_ && isVisible() == (frontLook() >= 0))
        return;
    mask_ = mask;
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

void PictureButton::paintEvent(QPaintEvent*)
{
    const int front = frontLook();
    if (front < 0)
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, looks_[front].picture);
}

void PictureButton::forward(PointerEvent::Kind kind, QMouseEvent* e, Qt::MouseButton button)
{
    if (!handler_)
        return;
    const QPoint pos = e->position().toPoint();
    handler_(PointerEvent{kind, button, e->modifiers(), pos, contains(pos)});
}

void PictureButton::mouseMoveEvent(QMouseEvent* e)
{
    forward(PointerEvent::Kind::Move, e, Qt::NoButton);
}

void PictureButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton || e->button() == Qt::MiddleButton)
        forward(PointerEvent::Kind::Press, e, e->button());
}

void PictureButton::mouseReleaseEvent(QMouseEvent* e)
{
    const bool known = e->button() == Qt::LeftButton || e->button() == Qt::RightButton ||
                       e->button() == Qt::MiddleButton;
    // The release of the last button held ends the press.
    if (known && e->buttons() == Qt::NoButton)
        forward(PointerEvent::Kind::Release, e, e->button());
}
