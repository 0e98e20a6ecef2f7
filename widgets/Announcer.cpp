#include "widgets/Announcer.h"

#include "widgets/Notice.h"

Announcer::Announcer(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    for (Notice*& n : notices_)
        n = new Notice(this);
    hide();
}

void Announcer::announce(const QString& text)
{
    notices_[size_t(last_)]->withdraw();
    last_ = (last_ + 1) % kNotices;
    notices_[size_t(last_)]->tell(text);
}

QString Announcer::text() const
{
    return notices_[size_t(last_)]->text();
}
