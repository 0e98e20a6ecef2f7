#include "widgets/HelpBox.h"

#include "widgets/AccessibleRole.h"

#include <QPainter>

namespace {
constexpr int kPad = 3;
}

HelpBox::HelpBox(QWidget* parent)
    : QWidget(parent)
{
    // A tool tip: screen readers speak one that F1 brought up.
    AccessibleRole::set(this, QAccessible::ToolTip);
    hide();
}

int HelpBox::measuredWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text + u' ') + 2 * kPad;
}

int HelpBox::measuredHeight() const
{
    return fontMetrics().height() + 4;
}

void HelpBox::setText(const QString& text)
{
    text_ = text;
    setAccessibleName(text);
    resize(measuredWidth(text), measuredHeight());
    update();
}

void HelpBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xFF, 0xFF, 0xE8));
    p.setPen(QColor(0x60, 0x60, 0x50));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(rect().adjusted(kPad, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text_);
}
