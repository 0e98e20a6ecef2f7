#pragma once

#include "settings/AppSettings.h"

#include <QString>
#include <QStringList>

// The last eight flowers opened from the gallery, newest first. Read from the
// settings file at start-up and written back at the end of the run.
class History {
public:
    static constexpr int kSize = AppSettings::kHistorySize;

    History();
    void load(const AppSettings& settings);
    void save(AppSettings& settings) const;

    // Newest first; the oldest falls out. Repeats are kept.
    void push(const QString& name);
    const QString& entry(int n) const { return entries_.at(n); }
    const QStringList& entries() const { return entries_; }

    // The menu caption of item n: "n+1 " and the entry.
    QString caption(int n) const;
    // Items are usable only while the gallery is empty and the entry is filled.
    bool itemEnabled(int n, int drawnCount) const;

private:
    QStringList entries_;
    // Per entry: the bytes it was read from when they are not Shift-JIS
    // (they read as other characters), so that it is written back as it
    // was; empty for every other entry. They move with their entry.
    QList<QByteArray> keptBytes_;
};
