#include "generators/FormSource.h"

#include "generators/FormLineReader.h"
#include "generators/TsvText.h"

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
    for (const TsvText::Line& line : TsvText::dataLines(utf8)) {
        const QStringList& columns = line.columns;
        if (columns.size() != FormLineReader::kColumns) {
            result.errors << QStringLiteral("%1:%2: %3 columns, expected %4")
                                 .arg(fileName)
                                 .arg(line.number)
                                 .arg(columns.size())
                                 .arg(FormLineReader::kColumns);
            continue;
        }
        FormLineReader::Result read = FormLineReader::read(columns);
        result.entries.push_back({fileName, line.number, std::move(read.form), std::move(read.faults)});
    }
    return result;
}

FormSource::Result FormSource::readFolder(const QString& folder)
{
    Result all;
    for (const auto& [name, bytes] : TsvText::readFolder(folder, all.errors)) {
        const Result part = parse(bytes, name);
        all.entries += part.entries;
        all.errors += part.errors;
    }
    return all;
}
