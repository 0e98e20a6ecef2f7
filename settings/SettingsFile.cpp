#include "settings/SettingsFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QList>

namespace {

bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

QByteArray trimBlanks(const QByteArray& s)
{
    int b = 0, e = int(s.size());
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.mid(b, e - b);
}

// A line "[name]" gives the section name; other lines give an empty result.
bool sectionOf(const QByteArray& line, QString* name)
{
    const QByteArray t = trimBlanks(line);
    if (t.size() < 2 || t[0] != '[')
        return false;
    const int close = int(t.indexOf(']'));
    if (close < 0)
        return false;
    *name = SettingsFile::decode(trimBlanks(t.mid(1, close - 1)));
    return true;
}

// A line "key=value" gives the key and the raw value bytes.
bool keyOf(const QByteArray& line, QString* key, QByteArray* value)
{
    const QByteArray t = trimBlanks(line);
    if (t.isEmpty() || t[0] == ';')
        return false;
    const int eq = int(t.indexOf('='));
    if (eq <= 0)
        return false;
    *key = SettingsFile::decode(trimBlanks(t.left(eq)));
    *value = t.mid(eq + 1);
    return true;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QList<QByteArray> splitLines(const QByteArray& data)
{
    QList<QByteArray> lines = data.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the file's final line break
    return lines;
}

}  // namespace

SettingsFile::SettingsFile(QString path)
    : path_(std::move(path))
{
}

QByteArray SettingsFile::encode(const QString& text)
{
    QStringEncoder enc("CP932");
    return enc.isValid() ? QByteArray(enc(text)) : text.toUtf8();
}

QString SettingsFile::decode(const QByteArray& bytes)
{
    QStringDecoder dec("CP932");
    return dec.isValid() ? QString(dec(bytes)) : QString::fromUtf8(bytes);
}

QByteArray SettingsFile::cutBytes(const QByteArray& sjis, int maxBytes)
{
    if (sjis.size() <= maxBytes)
        return sjis;
    int i = 0;
    while (i < maxBytes) {
        const int width = isLeadByte(uchar(sjis[i])) ? 2 : 1;
        if (i + width > maxBytes)
            break;
        i += width;
    }
    return sjis.left(i);
}

bool SettingsFile::findRaw(const QString& section, const QString& key, QByteArray* value) const
{
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bool inSection = false;
    for (const QByteArray& line : splitLines(f.readAll())) {
        QString name;
        if (sectionOf(line, &name)) {
            inSection = sameName(name, section);
            continue;
        }
        QString k;
        QByteArray v;
        if (inSection && keyOf(line, &k, &v) && sameName(k, key)) {
            *value = v;
            return true;
        }
    }
    return false;
}

int SettingsFile::readInt(const QString& section, const QString& key, int defaultValue) const
{
    QByteArray raw;
    if (!findRaw(section, key, &raw))
        return defaultValue;
    const QByteArray t = trimBlanks(raw);
    qint64 n = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + (c - '0');
        if (n > 0x7FFFFFFF)
            return 0x7FFFFFFF;
    }
    return int(n);
}

QString SettingsFile::readText(const QString& section, const QString& key, const QString& defaultValue) const
{
    QByteArray raw;
    if (!findRaw(section, key, &raw))
        return defaultValue;
    QByteArray t = trimBlanks(raw);
    if (t.size() >= 2 && (t[0] == '"' || t[0] == '\'') && t.back() == t[0])
        t = t.mid(1, t.size() - 2);
    return decode(cutBytes(t, kTextBufferBytes - 1));
}

bool SettingsFile::writeText(const QString& section, const QString& key, const QString& value)
{
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');

    QByteArray data;
    {
        QFile f(path_);
        if (f.exists() && !f.open(QIODevice::ReadOnly))
            return false;  // never replace a file we could not read
        if (f.isOpen())
            data = f.readAll();
    }
    const QByteArray eol = data.contains("\r\n") || data.isEmpty() ? QByteArray("\r\n") : QByteArray("\n");
    const QByteArray newLine = encode(key) + '=' + encode(clean) + (eol == "\r\n" ? "\r" : "");

    QList<QByteArray> lines = splitLines(data);
    int sectionLine = -1, lastInSection = -1, keyLine = -1;
    bool inSection = false;
    for (int i = 0; i < lines.size() && keyLine < 0; ++i) {
        QString name;
        if (sectionOf(lines[i], &name)) {
            if (inSection)
                break;
            inSection = sameName(name, section);
            if (inSection)
                sectionLine = lastInSection = i;
            continue;
        }
        QString k;
        QByteArray v;
        if (!inSection)
            continue;
        if (!trimBlanks(lines[i]).isEmpty())
            lastInSection = i;
        if (keyOf(lines[i], &k, &v) && sameName(k, key))
            keyLine = i;
    }
    if (keyLine >= 0) {
        lines[keyLine] = newLine;
    } else if (sectionLine >= 0) {
        lines.insert(lastInSection + 1, newLine);
    } else {
        lines.append(QByteArray("[") + encode(section) + ']' + (eol == "\r\n" ? "\r" : ""));
        lines.append(newLine);
    }

    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(lines.join('\n') + '\n');
    return out.commit();
}

bool SettingsFile::writeInt(const QString& section, const QString& key, int value)
{
    return writeText(section, key, QString::number(value));
}
