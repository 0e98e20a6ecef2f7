#include "widgets/WindowAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

// Asked once per class of the object's chain, most derived first: a dialog,
// a menu or a tool tip is answered at its own class, so only a window whose
// nearest Qt class is QWidget itself comes here.
QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType())
        return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (!w->isWindow() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip)
        return nullptr;
    return new QAccessibleWidget(w, QAccessible::Window);
}

}  // namespace

void WindowAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}
