#pragma once

#include <QAccessible>

class QWidget;

// A widget that only draws (a strip, the help box) tells a
// screen reader what it is: without this it is an anonymous filler. Its
// name is its accessible name, which it keeps equal to the text it shows.
namespace AccessibleRole {

// Set before the widget is first asked for: the interface is kept.
void set(QWidget* widget, QAccessible::Role role);

}  // namespace AccessibleRole
