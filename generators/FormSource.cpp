#include "generators/FormSource.h"

#include "generators/FormLineReader.h"

#include <QDir>
#include <QFile>

QHash<QString, PlantForm> FormSource::Result::byName() const
{
    QHash<QString, PlantForm> forms;
    for (const Entry& e : entries)
        if (!forms.contains(e.form.name))
            forms.insert(e.form.name, e.form);
    return forms;
}

FormSource::Result FormSource::parse(const QByteArray& utf8, const QString& fileName)
{
    Result result;
    const QStringList lines = QString::fromUtf8(utf8).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList columns = line.split(u'\t');
        if (columns.size() != FormLineReader::kColumns) {
            result.errors << QStringLiteral("%1:%2: %3 columns, expected %4")
                                 .arg(fileName)
                                 .arg(i + 1)
                                 .arg(columns.size())
                                 .arg(FormLineReader::kColumns);
            continue;
        }
        FormLineReader::Result read = FormLineReader::read(columns);
        result.entries.push_back({fileName, i + 1, std::move(read.form), std::move(read.faults)});
    }
    return result;
}

FormSource::Result FormSource::readFolder(const QString& folder)
{
    Result all;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            all.errors << QStringLiteral("%1: cannot be read").arg(name);
            continue;
        }
        const Result part = parse(f.readAll(), name);
        all.entries += part.entries;
        all.errors += part.errors;
    }
    return all;
}
