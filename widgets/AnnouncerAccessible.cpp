#include "widgets/AnnouncerAccessible.h"

#include "widgets/Announcer.h"

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("Announcer") && object && object->isWidgetType())
        return new AnnouncerAccessible(static_cast<Announcer*>(object));
    return nullptr;
}

}  // namespace

AnnouncerAccessible::AnnouncerAccessible(Announcer* announcer)
    : QAccessibleWidget(announcer, QAccessible::Notification)
{
}

const Announcer* AnnouncerAccessible::announcer() const
{
    return static_cast<const Announcer*>(widget());
}

QString AnnouncerAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? announcer()->text() : QString();
}

QAccessible::State AnnouncerAccessible::state() const
{
    QAccessible::State st = QAccessibleWidget::state();
    st.invisible = !announcer()->shownToReader();
    return st;
}

void AnnouncerAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}
