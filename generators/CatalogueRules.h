#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
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

    static QVector<Breach> check(const FlowerRecord& r);

    // The season of the note's first month range ("７～１０月"): the season of
    // its middle month (the later one of two), with January to June counted
    // as spring, July and August as summer and September to December as
    // autumn. Empty when the note gives no range.
    static QString seasonFromNote(const QString& note);

private:
    static void checkSeason(const FlowerRecord& r, QVector<Breach>& out);
    static void checkFamily(const FlowerRecord& r, QVector<Breach>& out);
    static void checkPlumeColour(const FlowerRecord& r, QVector<Breach>& out);
    static void checkOrange(const FlowerRecord& r, QVector<Breach>& out);
    static void checkCompositeShape(const FlowerRecord& r, QVector<Breach>& out);
    static void checkUnits(const FlowerRecord& r, QVector<Breach>& out);
};
