#include "widgets/CellAccessible.h"

#include "widgets/CellWidget.h"

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    // Asked for every widget class: only a cell may be taken for one.
    auto* cell = qobject_cast<CellWidget*>(object);
    if (!cell)
        return nullptr;
    if (className == QLatin1String("NameLabel"))
        return new CellAccessible(cell, QAccessible::Button);
    if (className == QLatin1String("ThumbnailCell"))
        return new CellAccessible(cell, QAccessible::Graphic);
    return nullptr;
}

}  // namespace

CellAccessible::CellAccessible(CellWidget* cell, QAccessible::Role filledRole)
    : QAccessibleWidget(cell, QAccessible::Client)
    , filledRole_(filledRole)
{
}

CellWidget* CellAccessible::cell() const
{
    return static_cast<CellWidget*>(widget());
}

// A hidden cell keeps its widget but shows no flower.
bool CellAccessible::filled() const
{
    return !cell()->isHidden() && !cell()->accessibleName().isEmpty();
}

QString CellAccessible::text(QAccessible::Text t) const
{
    if (!filled() && (t == QAccessible::Name || t == QAccessible::Description))
        return QString();
    return QAccessibleWidget::text(t);
}

QAccessible::Role CellAccessible::role() const
{
    return filled() ? filledRole_ : QAccessible::Client;
}

QAccessible::State CellAccessible::state() const
{
    QAccessible::State st = QAccessibleWidget::state();
    if (!filled()) {
        st.focusable = false;
        st.focused = false;
    }
    return st;
}

QStringList CellAccessible::actionNames() const
{
    if (!filled())
        return {};
    return {pressAction()};
}

// As a click: only a cell that takes clicks (enabled) opens its flower.
void CellAccessible::doAction(const QString& action)
{
    if (action == pressAction() && filled() && cell()->isEnabled())
        emit cell()->activated(cell()->index());
}

void CellAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}
