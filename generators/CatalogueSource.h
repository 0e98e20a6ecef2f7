#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The reviewable text source of the sample catalogue: UTF-8, one record per
// line, nine TAB-separated fields in the order NAMAE KISETU IRO KABEN HA KA
// KA2 SYASIN NOTE. Empty lines and lines starting with '#' are skipped; "\n"
// in NOTE stands for a line break.
class CatalogueSource {
public:
    struct Result {
        QVector<FlowerRecord> records;
        QStringList errors;  // "file:line: reason"
    };

    static Result parse(const QByteArray& utf8, const QString& fileName);
    // Every *.tsv of the folder, in file-name order.
    static Result readFolder(const QString& folder);
};
