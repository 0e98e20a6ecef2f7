#include "settings/AppSettings.h"

#include "settings/SettingsTextEscape.h"

const char* const AppSettings::kFileName = "SNH347.snh";
const char* const AppSettings::kSection = "Sonoha347";

namespace {
const QString kSec = QString::fromLatin1(AppSettings::kSection);
}

AppSettings::AppSettings(const QString& iniPath)
    : file_(iniPath)
{
}

int AppSettings::readSlideSeconds() const
{
    const int s = file_.readInt(kSec, QStringLiteral("SLD_check"), 3);
    return (s >= 1 && s <= 99) ? s : 3;
}

int AppSettings::readBgm(int defaultValue) const
{
    return file_.readInt(kSec, QStringLiteral("BGM_check"), defaultValue);
}

int AppSettings::readClickSound() const
{
    return file_.readInt(kSec, QStringLiteral("KOUKAON_check"), 1);
}

int AppSettings::readThumbnailMode() const
{
    return file_.readInt(kSec, QStringLiteral("Samuneilu_check"), 0);
}

QString AppSettings::readHistory(int n) const
{
    return SettingsTextEscape::unescape(file_.readText(kSec, QStringLiteral("HisN%1").arg(n), QString()));
}

QByteArray AppSettings::readHistoryBytes(int n) const
{
    return file_.undecodableText(kSec, QStringLiteral("HisN%1").arg(n)).value_or(QByteArray());
}

bool AppSettings::writeSlideSecondsText(const QString& typed)
{
    return file_.writeText(kSec, QStringLiteral("SLD_check"), typed);
}

bool AppSettings::writeBgm(int index)
{
    return file_.writeInt(kSec, QStringLiteral("BGM_check"), index);
}

bool AppSettings::writeClickSound(int index)
{
    return file_.writeInt(kSec, QStringLiteral("KOUKAON_check"), index);
}

bool AppSettings::writeThumbnailMode(int index)
{
    return file_.writeInt(kSec, QStringLiteral("Samuneilu_check"), index);
}

bool AppSettings::writeHistory(const QStringList& entries, const QList<QByteArray>& kept)
{
    // One replace of the file: a kill half way leaves the old history whole.
    QList<SettingsFile::Entry> keys;
    QList<SettingsFile::KeptEntry> keptKeys;
    for (int n = 0; n < kHistorySize; ++n) {
        const QString key = QStringLiteral("HisN%1").arg(n);
        if (!kept.value(n).isEmpty())
            keptKeys.append({key, kept.value(n)});
        else
            keys.append({key, SettingsTextEscape::escape(entries.value(n))});
    }
    return file_.writeTexts(kSec, keys, keptKeys);
}
