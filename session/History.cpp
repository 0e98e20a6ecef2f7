#include "session/History.h"

#include "settings/AppSettings.h"

History::History()
    : entries_(kSize)
    , keptBytes_(kSize)
{
}

void History::load(const AppSettings& settings)
{
    for (int n = 0; n < kSize; ++n) {
        entries_[n] = settings.readHistory(n);
        keptBytes_[n] = settings.readHistoryBytes(n);
    }
}

void History::save(AppSettings& settings) const
{
    settings.writeHistory(entries_, keptBytes_);
}

void History::push(const QString& name)
{
    for (int k = kSize - 1; k >= 1; --k) {
        entries_[k] = entries_[k - 1];
        keptBytes_[k] = keptBytes_[k - 1];
    }
    entries_[0] = name;
    keptBytes_[0].clear();
}

QString History::caption(int n) const
{
    return QString::number(n + 1) + u' ' + entries_.at(n);
}

bool History::itemEnabled(int n, int drawnCount) const
{
    return drawnCount < 1 && !entries_.at(n).isEmpty();
}
