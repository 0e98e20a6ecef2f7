#include "widgets/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

const char* const kRoleProperty = "sonohaAccessibleRole";

// Asked first with the most derived class, so a widget given a role is
// answered before any other factory sees it.
QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Role(role.toInt()));
}

}  // namespace

namespace AccessibleRole {

void set(QWidget* widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kRoleProperty, int(role));
}

}  // namespace AccessibleRole
