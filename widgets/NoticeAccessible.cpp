#include "widgets/NoticeAccessible.h"

#include "widgets/Notice.h"

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("Notice") && object && object->isWidgetType())
        return new NoticeAccessible(static_cast<Notice*>(object));
    return nullptr;
}

}  // namespace

NoticeAccessible::NoticeAccessible(Notice* notice)
    : QAccessibleWidget(notice, QAccessible::Notification)
{
}

const Notice* NoticeAccessible::notice() const
{
    return static_cast<const Notice*>(widget());
}

QString NoticeAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? notice()->text() : QString();
}

QAccessible::State NoticeAccessible::state() const
{
    QAccessible::State st = QAccessibleWidget::state();
    st.invisible = !notice()->shownToReader();
    return st;
}

void NoticeAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}
