#pragma once

#include "generators/PlantForm.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The form descriptions beside the catalogue's text source: UTF-8 files
// catalogue/forms/*.tsv, one line per record keyed by NAMAE, twenty
// TAB-separated columns (FormLineReader), the written rules and vocabulary
// as '#' lines at the top. Empty lines and '#' lines are skipped.
class FormSource {
public:
    struct Entry {
        QString file;
        int line = 0;
        PlantForm form;
        QStringList faults;  // "column: reason"; empty for a complete description
    };

    struct Result {
        QVector<Entry> entries;  // in file and line order
        QStringList errors;  // "file:line: reason" for lines that are no description at all

        // The first description of each name.
        QHash<QString, PlantForm> byName() const;
    };

    static Result parse(const QByteArray& utf8, const QString& fileName);
    // Every *.tsv of the folder, in file-name order; no folder, no entries.
    static Result readFolder(const QString& folder);
};
