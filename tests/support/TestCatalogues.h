#pragma once

#include "catalogue/CatalogueStore.h"
#include "catalogue/FlowerRecord.h"

#include <QString>
#include <QVector>

// Small helpers for building catalogue files in tests.
namespace TestCatalogues {

inline FlowerRecord record(const QString& name, const QString& season = QStringLiteral("春"),
                           const QString& colour = QStringLiteral("白系"),
                           const QString& petal = QStringLiteral("花弁５枚型"),
                           const QString& leaf = QStringLiteral("互生"),
                           const QString& family = QStringLiteral("キク科"))
{
    return FlowerRecord{name,
                        season,
                        colour,
                        petal,
                        leaf,
                        family,
                        family,
                        name + QStringLiteral(".jpg"),
                        name + QStringLiteral("の解説")};
}

// Writes a fresh catalogue file with the given rows; returns false on failure.
inline bool write(const QString& path, const QVector<FlowerRecord>& rows)
{
    QString error;
    return CatalogueStore::createNew(path, &error) && CatalogueStore::insert(path, rows, &error);
}

}  // namespace TestCatalogues
