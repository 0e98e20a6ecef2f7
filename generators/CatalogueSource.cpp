#include "generators/CatalogueSource.h"

#include <QDir>
#include <QFile>

CatalogueSource::Result CatalogueSource::parse(const QByteArray& utf8, const QString& fileName)
{
    Result result;
    const QStringList lines = QString::fromUtf8(utf8).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        if (f.size() != 9) {
            result.errors << QStringLiteral("%1:%2: %3 fields, expected 9").arg(fileName).arg(i + 1).arg(f.size());
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
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        all.errors << QStringLiteral("%1: no .tsv files").arg(folder);
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            all.errors << QStringLiteral("%1: cannot be read").arg(name);
            continue;
        }
        const Result part = parse(f.readAll(), name);
        all.records += part.records;
        all.errors += part.errors;
    }
    return all;
}
