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

const AppSettings::Numbers& AppSettings::numbers() const
{
    const SettingsFile::Stamp now = file_.stamp();
    if (stamp_ != now) {
        const QList<std::optional<int>> v =
            file_.readInts(kSec, {QStringLiteral("SLD_check"), QStringLiteral("BGM_check"),
                                  QStringLiteral("KOUKAON_check"), QStringLiteral("Samuneilu_check")});
        numbers_ = {v[0], v[1], v[2], v[3]};
        stamp_ = now;
    }
    return numbers_;
}

// A write that changed the file is read back at the next question.
bool AppSettings::refreshedAfter(bool written)
{
    if (written)
        stamp_.reset();
    return written;
}

int AppSettings::readSlideSeconds() const
{
    const int s = numbers().slideSeconds.value_or(3);
    return (s >= 1 && s <= 99) ? s : 3;
}

int AppSettings::readBgm(int defaultValue) const
{
    return numbers().bgm.value_or(defaultValue);
}

int AppSettings::readClickSound() const
{
    return numbers().clickSound.value_or(1);
}

int AppSettings::readThumbnailMode() const
{
    return numbers().thumbnailMode.value_or(0);
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
    return refreshedAfter(file_.writeText(kSec, QStringLiteral("SLD_check"), typed));
}

bool AppSettings::writeBgm(int index)
{
    return refreshedAfter(file_.writeInt(kSec, QStringLiteral("BGM_check"), index));
}

bool AppSettings::writeClickSound(int index)
{
    return refreshedAfter(file_.writeInt(kSec, QStringLiteral("KOUKAON_check"), index));
}

bool AppSettings::writeThumbnailMode(int index)
{
    return refreshedAfter(file_.writeInt(kSec, QStringLiteral("Samuneilu_check"), index));
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
    return refreshedAfter(file_.writeTexts(kSec, keys, keptKeys));
}
