#include "widgets/AccessibleNotice.h"

namespace AccessibleNotice {

namespace {

Listener& listener()
{
    static Listener l;
    return l;
}

}  // namespace

void send(QAccessibleEvent& event)
{
    if (listener())
        listener()(event.object(), event.type());
    QAccessible::updateAccessibility(&event);
}

void setListener(Listener l)
{
    listener() = std::move(l);
}

}  // namespace AccessibleNotice
