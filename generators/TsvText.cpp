#include "generators/TsvText.h"

#include <QDir>
#include <QFile>

QList<TsvText::Line> TsvText::dataLines(const QByteArray& utf8)
{
    QList<Line> out;
    const QStringList lines = QString::fromUtf8(utf8).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        out.append({i + 1, line.split(u'\t')});
    }
    return out;
}

QList<std::pair<QString, QByteArray>> TsvText::readFolder(const QString& folder, QStringList& errors)
{
    QList<std::pair<QString, QByteArray>> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            errors << QStringLiteral("%1: cannot be read").arg(name);
            continue;
        }
        files.append({name, f.readAll()});
    }
    return files;
}
