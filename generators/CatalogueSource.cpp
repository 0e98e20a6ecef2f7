#include "generators/CatalogueSource.h"

#include "generators/TsvText.h"

CatalogueSource::Result CatalogueSource::parse(const QByteArray& utf8, const QString& fileName)
{
    Result result;
    for (const TsvText::Line& line : TsvText::dataLines(utf8)) {
        const QStringList& f = line.columns;
        if (f.size() != 9) {
            result.errors
                << QStringLiteral("%1:%2: %3 fields, expected 9").arg(fileName).arg(line.number).arg(f.size());
            continue;
        }
        FlowerRecord r{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]};
        r.NOTE.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        result.records.push_back(r);
    }
    return result;
}

CatalogueSource::Result CatalogueSource::readFolder(const QString& folder)
{
    Result all;
    const auto files = TsvText::readFolder(folder, all.errors);
    if (files.isEmpty() && all.errors.isEmpty())
        all.errors << QStringLiteral("%1: no .tsv files").arg(folder);
    for (const auto& [name, bytes] : files) {
        const Result part = parse(bytes, name);
        all.records += part.records;
        all.errors += part.errors;
    }
    return all;
}
