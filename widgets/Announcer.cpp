#include "widgets/Announcer.h"

#include "widgets/AccessibleNotice.h"
#include "widgets/AnnouncerAccessible.h"

Announcer::Announcer(QWidget* parent)
    : QWidget(parent)
{
    AnnouncerAccessible::install();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void Announcer::announce(const QString& text)
{
    if (shown_) {
        shown_ = false;
        QAccessibleEvent hidden(this, QAccessible::ObjectHide);
        AccessibleNotice::send(hidden);
    }
    if (text != text_) {
        text_ = text;
        QAccessibleEvent named(this, QAccessible::NameChanged);
        AccessibleNotice::send(named);
    }
    shown_ = true;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    AccessibleNotice::send(shown);
}
