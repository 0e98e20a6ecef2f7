#pragma once

#include "settings/SettingsFile.h"

#include <QStringList>
#include <optional>

// The program's keys in the settings file "SNH347.snh", section Sonoha347,
// and the one place that holds their values. The file is the reference:
// every place that acts on a setting asks here again, and a change made to
// the file by hand counts from the next question. The numeric keys are kept
// from the last read of the file and read again only when the file changed
// on the disk (its stamp), which this program's own writes do too; the file
// is not read on every click that asks.
class AppSettings {
public:
    static const char* const kFileName;  // "SNH347.snh"
    static const char* const kSection;  // "Sonoha347"
    static constexpr int kHistorySize = 8;
    // The click sounds of KOUKAON_check 0..2, in the sound folder; 3 is none.
    static constexpr const char* kClickSounds[3] = {"Pi!.wav", "Pipi.wav", "Tyui.wav"};

    explicit AppSettings(const QString& iniPath);

    // Slide interval in seconds. A value outside 1..99 (a hand-edited file,
    // or no number at all) would give a zero or absurd timer: it reads as 3.
    int readSlideSeconds() const;
    int readBgm(int defaultValue) const;  // BGM_check; start-up uses 0, the music panel 6
    int readClickSound() const;  // KOUKAON_check, default 1
    int readThumbnailMode() const;  // Samuneilu_check, default 0
    QString readHistory(int n) const;  // HisN0..HisN7, default ""
    // The bytes of HisN<n> when they do not decode exactly (not Shift-JIS),
    // else empty: an entry written back unchanged keeps them.
    QByteArray readHistoryBytes(int n) const;

    // Each write gives false when the file was left as it was.
    bool writeSlideSecondsText(const QString& typed);
    bool writeBgm(int index);
    bool writeClickSound(int index);
    bool writeThumbnailMode(int index);
    // All eight keys, in one replace of the file; an entry with bytes in
    // kept is written as those bytes.
    bool writeHistory(const QStringList& entries, const QList<QByteArray>& kept = {});

    SettingsFile& file() { return file_; }

private:
    // The numeric keys as the file holds them; nothing for a missing key.
    struct Numbers {
        std::optional<int> slideSeconds;
        std::optional<int> bgm;
        std::optional<int> clickSound;
        std::optional<int> thumbnailMode;
    };
    const Numbers& numbers() const;
    bool refreshedAfter(bool written);

    SettingsFile file_;
    mutable std::optional<SettingsFile::Stamp> stamp_;
    mutable Numbers numbers_;
};
