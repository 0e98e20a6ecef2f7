// Any bytes as the settings file: every key reads without harm, and a write
// of one key changes that key's line or adds lines, keeping every other byte.
#include "FuzzSupport.h"
#include "settings/ProfileLines.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QList>
#include <algorithm>

namespace {

struct Line {
    QByteArray bytes;  // with its line end
    QByteArray text;  // without
};

QList<Line> splitLines(const QByteArray& data)
{
    QList<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\n' && data[i] != '\r')
            continue;
        const qsizetype textEnd = i;
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
            ++i;
        lines.append({data.mid(start, i + 1 - start), data.mid(start, textEnd - start)});
        start = i + 1;
    }
    if (start < data.size())
        lines.append({data.mid(start), data.mid(start)});
    return lines;
}

struct Name {
    QByteArray section;
    QByteArray key;
};

// The section and key of every "key=value" line, as the profile rules see them.
QList<Name> keysOf(const QList<Line>& lines)
{
    QList<Name> names;
    QByteArray section;
    bool inSection = false;
    for (const Line& line : lines) {
        const QByteArray t = ProfileLines::trimBlanks(line.text);
        if (t.size() >= 2 && t[0] == '[' && t.contains(']')) {
            section = ProfileLines::trimBlanks(t.mid(1, t.indexOf(']') - 1));
            inSection = true;
            continue;
        }
        const qsizetype eq = t.indexOf('=');
        if (inSection && !t.startsWith(';') && eq > 0)
            names.append({section, ProfileLines::trimBlanks(t.left(eq))});
    }
    return names;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        FuzzSupport::fail("the settings file cannot be read back");
    return f.readAll();
}

// Whole lines the two files share at the start and at the end; what lies
// between is what the write changed.
void checkOnlyOneLineChanged(const QByteArray& before, const QByteArray& after)
{
    // A UTF-8 byte-order mark stands before the lines, not in the first one.
    static const QByteArray mark("\xEF\xBB\xBF");
    if (before.startsWith(mark) != after.startsWith(mark))
        FuzzSupport::fail("a write added or dropped the byte-order mark");
    const qsizetype skip = before.startsWith(mark) ? mark.size() : 0;
    const QList<Line> a = splitLines(before.mid(skip));
    const QList<Line> b = splitLines(after.mid(skip));
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && a[head].bytes == b[head].bytes)
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail].bytes == b[b.size() - 1 - tail].bytes)
        ++tail;
    const qsizetype removed = a.size() - head - tail;
    const qsizetype added = b.size() - head - tail;
    if (removed > 1)
        FuzzSupport::fail("a write changed more than the key's line");
    // The key's line, or a last line that gets its line end before the new ones.
    if (removed == 1 && added > 1 && a[head].text != b[head].text)
        FuzzSupport::fail("a write replaced a line and added others");
    if (added > 3)
        FuzzSupport::fail("a write added more than a section and a key");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray before = FuzzSupport::bytesOf(data, size);
    const QString path = FuzzSupport::writeScratch("SONOHA.INI", before);
    SettingsFile file(path);
    const ProfileLines lines(before);

    const QList<Name> names = keysOf(splitLines(before));
    for (const Name& n : names) {
        file.readText(lines.decode(n.section), lines.decode(n.key), QString());
        file.readInt(lines.decode(n.section), lines.decode(n.key), -1);
    }

    // Write a key the file already has when its name survives the encoding,
    // so that replacing in place is tried as often as adding.
    QString section = "Fuzz";
    QString key = "Key";
    for (const Name& n : names) {
        if (lines.encode(lines.decode(n.section)) == n.section && lines.encode(lines.decode(n.key)) == n.key &&
            !lines.decode(n.section).contains(']')) {
            section = lines.decode(n.section);
            key = lines.decode(n.key);
            break;
        }
    }
    const QString value = QString::fromUtf8("野の花 %1").arg(size);
    if (!file.writeText(section, key, value)) {
        if (readFile(path) != before)
            FuzzSupport::fail("a failed write changed the file");
        return 0;
    }
    checkOnlyOneLineChanged(before, readFile(path));
    if (file.readText(section, key, QString()) != value)
        FuzzSupport::fail("the written value does not read back");
    return 0;
}
