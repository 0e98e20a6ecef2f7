#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The judgement calls of the shipped catalogue that a program can check,
// written down at the top of every file of catalogue/data/ for the people
// who keep it. A record that breaks one of them is filed differently from
// its look-alikes, so a walker who searches the way the rules read misses it.
class CatalogueRules {
public:
    struct Breach {
        QString field;  // column the rule is about
        QString what;  // readable explanation
    };

    // A breach found by comparing records, reported on one of them.
    struct RecordBreach {
        int record = 0;  // index into the checked list
        QString field;
        QString what;
    };

    // The peak, the note's first month range, is at most this long.
    static constexpr int kMaxPeakMonths = 3;

    static QVector<Breach> check(const FlowerRecord& r);

    // Look-alikes share a season: when a note names another record of the
    // catalogue, the two are filed under the same season, unless both notes
    // say, in the sentence naming the other, that their flowering times
    // differ. Each breach is reported once, on the note that has to change.
    static QVector<RecordBreach> checkLookAlikes(const QVector<FlowerRecord>& records);

    // The season of the note's first month range ("８～９月"), the plant's
    // peak: the season of its middle month (the later one of two), with
    // January to June counted as spring, July and August as summer and
    // September to December as autumn. Empty when the note gives no range.
    static QString seasonFromNote(const QString& note);

    // How many months the note's first month range spans, counted
    // inclusively and over the new year ("１２～２月" is 3); 0 when the note
    // gives no range.
    static int peakMonths(const QString& note);

    // The sentences of the note that name the record called `name`: the
    // name as it stands, not as part of a longer katakana name
    // ("アキノノゲシ" does not name ノゲシ) and not as a family ("セリ科").
    static QStringList sentencesNaming(const QString& note, const QString& name);

    // Whether a sentence speaks of when the plant flowers (花期, 時期, 季節).
    static bool speaksOfFloweringTime(const QString& sentence);

private:
    static void checkSeason(const FlowerRecord& r, QVector<Breach>& out);
    static void checkFamily(const FlowerRecord& r, QVector<Breach>& out);
    static void checkPlumeColour(const FlowerRecord& r, QVector<Breach>& out);
    static void checkOrange(const FlowerRecord& r, QVector<Breach>& out);
    static void checkCompositeShape(const FlowerRecord& r, QVector<Breach>& out);
    static void checkUnits(const FlowerRecord& r, QVector<Breach>& out);
};
