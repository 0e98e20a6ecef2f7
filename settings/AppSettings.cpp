#include "settings/AppSettings.h"

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
    return file_.readText(kSec, QStringLiteral("HisN%1").arg(n), QString());
}

void AppSettings::writeSlideSecondsText(const QString& typed)
{
    file_.writeText(kSec, QStringLiteral("SLD_check"), typed);
}

void AppSettings::writeBgm(int index)
{
    file_.writeInt(kSec, QStringLiteral("BGM_check"), index);
}

void AppSettings::writeClickSound(int index)
{
    file_.writeInt(kSec, QStringLiteral("KOUKAON_check"), index);
}

void AppSettings::writeThumbnailMode(int index)
{
    file_.writeInt(kSec, QStringLiteral("Samuneilu_check"), index);
}

void AppSettings::writeHistory(const QStringList& entries)
{
    for (int n = 0; n < kHistorySize; ++n)
        file_.writeText(kSec, QStringLiteral("HisN%1").arg(n), entries.value(n));
}
