#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
#include <QVector>
#include <functional>

class FlowerCatalogue;

// The catalogue file: an SQLite database holding table KUSABANA with the nine
// text columns of a flower record, NAMAE unique. Any SQLite file with that
// table and those columns is accepted, whoever made it.
class CatalogueStore {
public:
    static const char* const kFileName;  // "SNH347.mdb"
    static const QStringList& columns();  // NAMAE, KISETU, IRO, KABEN, HA, KA, KA2, SYASIN, NOTE

    struct LoadResult {
        bool ok = false;
        QString error;       // why the file could not be read, when !ok
        int totalRows = 0;   // rows in the table
        int loadedRows = 0;  // rows placed in the catalogue (at most 500)
        bool truncated() const { return totalRows > loadedRows; }
    };

    // Reads every row, sorts the rows by the program's name order and fills
    // the catalogue with at most its capacity. NULL fields read as empty text.
    // onRecord is told each name as its slot is filled.
    static LoadResult load(const QString& path, FlowerCatalogue& catalogue,
                           const std::function<void(const QString&)>& onRecord = {});

    // All rows in name order (no capacity limit).
    static bool readAll(const QString& path, QVector<FlowerRecord>& rows, QString* error);

    // Creates a new file with an empty table; refuses to touch an existing file.
    static bool createNew(const QString& path, QString* error);
    // Inserts rows in one transaction; fails as a whole (duplicate names included).
    static bool insert(const QString& path, const QVector<FlowerRecord>& rows, QString* error);
};
