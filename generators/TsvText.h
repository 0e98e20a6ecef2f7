#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The catalogue's text sources are tab-separated UTF-8 files whose written
// rules stand at the top as comment lines; the readers share how lines are
// found and how a folder of such files is read.
namespace TsvText {

struct Line {
    int number = 0;  // counted from 1, as an editor shows it
    QStringList columns;
};

// The data lines: blank lines and lines starting with # are skipped, and a
// line may end in CR LF.
QList<Line> dataLines(const QByteArray& utf8);

// Each *.tsv file of folder in name order with its bytes; a file that
// cannot be read is named in errors.
QList<std::pair<QString, QByteArray>> readFolder(const QString& folder, QStringList& errors);

}  // namespace TsvText
