#include "widgets/FocusMark.h"

#include "assets/ArtPalette.h"

#include <QPainter>

namespace FocusMark {

namespace {

void frame(QPainter& p, const QRect& r, const QColor& colour)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

}  // namespace

void paint(QPainter& p, const QRect& area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    frame(p, area, ArtPalette::panelCaption());
    frame(p, area.adjusted(1, 1, -1, -1), QColor(255, 255, 255));
    frame(p, area.adjusted(2, 2, -2, -2), ArtPalette::panelCaption());
    p.restore();
}

bool byKeyboard(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason ||
           reason == Qt::OtherFocusReason;
}

}  // namespace FocusMark
