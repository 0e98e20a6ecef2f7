#include "slideshow/SlideInterval.h"

bool SlideInterval::keeps(QChar typed)
{
    const char16_t c = typed.unicode();
    return (c >= u'0' && c <= u'9') || c < u' ';
}

std::optional<int> SlideInterval::accept(const QString& text)
{
    if (text.isEmpty() || text.size() > kMaxChars || text.startsWith(u'0'))
        return std::nullopt;
    for (QChar c : text)
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
    return text.toInt();
}

int SlideInterval::timerMs(int seconds)
{
    if (seconds < 1 || seconds > 99)
        seconds = kDefaultSeconds;
    return seconds * 1000;
}
