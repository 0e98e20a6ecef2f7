#include "widgets/ProgressBox.h"

#include <QPainter>
#include <cmath>

ProgressBox::ProgressBox(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

QString ProgressBox::label() const
{
    return QString::number(std::lround(percent_)) + QStringLiteral(" %");
}

void ProgressBox::drawProgress(double percent)
{
    percent_ = percent;
    repaint();
}

void ProgressBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(foreground_);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, label());
    // Not-xor of a blue pen on white gives blue, on blue text gives white:
    // the covered part shows inverted.
    const int w = int(std::lround(width() * std::clamp(percent_, 0.0, 100.0) / 100.0));
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.fillRect(QRect(0, 0, w, height()), foreground_);
}
