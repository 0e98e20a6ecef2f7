#include "widgets/Notice.h"

#include "widgets/AccessibleNotice.h"
#include "widgets/NoticeAccessible.h"

Notice::Notice(QWidget* parent)
    : QWidget(parent)
{
    NoticeAccessible::install();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void Notice::tell(const QString& text)
{
    withdraw();
    if (text != text_) {
        text_ = text;
        QAccessibleEvent named(this, QAccessible::NameChanged);
        AccessibleNotice::send(named);
    }
    shown_ = true;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    AccessibleNotice::send(shown);
}

void Notice::withdraw()
{
    if (!shown_)
        return;
    shown_ = false;
    QAccessibleEvent hidden(this, QAccessible::ObjectHide);
    AccessibleNotice::send(hidden);
}
