#pragma once

#include <QFocusEvent>
#include <QRect>

class QPainter;

// The keyboard focus on the art: a dark line with a light line inside it,
// like the bevels of the buttons. Drawn as filled bands on whole logical
// pixels, which land on whole device pixels at any scale, so it stays crisp.
namespace FocusMark {

void paint(QPainter& p, const QRect& area);

// Focus that a key moved: Tab, Shift+Tab, an arrow or a shortcut. Focus that
// comes back with the window or leaves for a pop-up says nothing new.
bool byKeyboard(Qt::FocusReason reason);

}  // namespace FocusMark
