#include "platform/SystemClock.h"

#include <QDateTime>

qint64 SystemClock::msecsSinceEpoch() const
{
    return QDateTime::currentMSecsSinceEpoch();
}
