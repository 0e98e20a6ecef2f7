#include "widgets/PictureButton.h"

#include "widgets/AccessibleNotice.h"
#include "widgets/FocusMark.h"
#include "widgets/PictureButtonAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::NoFocus);
    PictureButtonAccessible::install();
    hide();
}

void PictureButton::setSpoken(std::function<Spoken()> f)
{
    spoken_ = std::move(f);
    lastSpoken_ = spoken();
}

void PictureButton::spokenMayHaveChanged()
{
    const Spoken now = spoken();
    if (now == lastSpoken_)
        return;
    const Spoken before = std::exchange(lastSpoken_, now);
    if (now.name != before.name) {
        QAccessibleEvent e(this, QAccessible::NameChanged);
        AccessibleNotice::send(e);
    }
    if (now.description != before.description) {
        QAccessibleEvent e(this, QAccessible::DescriptionChanged);
        AccessibleNotice::send(e);
    }
    if (now.checked != before.checked || now.checkable != before.checkable) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent e(this, changed);
        AccessibleNotice::send(e);
    }
}

void PictureButton::activate(Qt::KeyboardModifiers modifiers)
{
    if (keyHandler_)
        keyHandler_(Key::Activate, modifiers);
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
    if (focusMarkShown())
        FocusMark::paint(p, rect());
}

void PictureButton::keyPressEvent(QKeyEvent* e)
{
    const int k = e->key();
    if (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_F1) {
        if (!std::exchange(keyboardFocus_, true))
            update();
        if (!e->isAutoRepeat() && keyHandler_)
            keyHandler_(k == Qt::Key_F1 ? Key::HelpPressed : Key::Activate, e->modifiers());
        return;
    }
    QWidget::keyPressEvent(e);  // arrows and the rest go to the window
}

void PictureButton::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1) {
        if (!e->isAutoRepeat() && keyHandler_)
            keyHandler_(Key::HelpReleased, e->modifiers());
        return;
    }
    QWidget::keyReleaseEvent(e);
}

void PictureButton::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    if (FocusMark::byKeyboard(e->reason())) {
        keyboardFocus_ = true;
        if (keyHandler_)
            keyHandler_(Key::Focused, Qt::NoModifier);
    }
    update();
}

void PictureButton::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        keyboardFocus_ = false;
    update();
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
    const bool known =
        e->button() == Qt::LeftButton || e->button() == Qt::RightButton || e->button() == Qt::MiddleButton;
    // The release of the last button held ends the press.
    if (known && e->buttons() == Qt::NoButton)
        forward(PointerEvent::Kind::Release, e, e->button());
}
