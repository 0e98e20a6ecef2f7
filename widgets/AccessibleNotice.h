#pragma once

#include <QAccessible>
#include <functional>

// The one way the views tell a screen reader that something changed. A
// listener hears the same notices; without an accessibility bridge (as on
// the offscreen platform) Qt drops them, and the listener is how the tests
// hear what a screen reader would.
namespace AccessibleNotice {

using Listener = std::function<void(QObject* object, QAccessible::Event type)>;

void send(QAccessibleEvent& event);
void setListener(Listener listener);

}  // namespace AccessibleNotice
