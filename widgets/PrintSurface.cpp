#include "widgets/PrintSurface.h"

#include "widgets/AccessibleRole.h"

#include <QMouseEvent>
#include <QPainter>

PrintSurface::PrintSurface(QWidget* parent)
    : QWidget(parent)
    , background_(Qt::white)
    , foreground_(Qt::black)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    AccessibleRole::set(this, QAccessible::StatusBar);
}

void PrintSurface::cls()
{
    if (text_.isEmpty())
        return;
    text_.clear();
    update();
}

void PrintSurface::print(const QString& text)
{
    text_ = text;
    update();
    // A screen reader reads the strip by its name. The writers clear the
    // strip before they print, so the name follows only the prints.
    setAccessibleName(text);
}

int PrintSurface::textWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

void PrintSurface::setColours(const QColor& background, const QColor& foreground)
{
    background_ = background;
    foreground_ = foreground;
    update();
}

void PrintSurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), background_);
    p.setPen(foreground_);
    p.setFont(font());
    p.drawText(QPoint(2, fontMetrics().ascent() + 1), text_);
}

void PrintSurface::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

void PrintSurface::mouseReleaseEvent(QMouseEvent* e)
{
    emit mouseReleased(e->button(), e->modifiers(), e->position().toPoint());
}
