#include "settings/ProfileLines.h"

#include "settings/SettingsFile.h"

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isUtf8Continuation(char c)
{
    return (uchar(c) & 0xC0) == 0x80;
}

}  // namespace

ProfileLines::ProfileLines(const QByteArray& data)
{
    qsizetype pos = 0;
    if (data.startsWith(kUtf8Mark)) {
        utf8_ = true;
        pos = kUtf8Mark.size();
    }
    while (pos < data.size()) {
        qsizetype end = pos;
        while (end < data.size() && data[end] != '\r' && data[end] != '\n')
            ++end;
        Line line{data.mid(pos, end - pos), {}};
        if (end < data.size()) {
            const bool crlf = data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n';
            line.end = data.mid(end, crlf ? 2 : 1);
        }
        if (newLineEnd_.isEmpty())
            newLineEnd_ = line.end;
        pos = end + line.end.size();
        lines_.append(std::move(line));
    }
    if (newLineEnd_.isEmpty())
        newLineEnd_ = "\r\n";
}

QByteArray ProfileLines::trimBlanks(const QByteArray& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.mid(b, e - b);
}

QByteArray ProfileLines::encode(const QString& text) const
{
    return utf8_ ? text.toUtf8() : SettingsFile::encode(text);
}

QString ProfileLines::decode(const QByteArray& bytes) const
{
    return utf8_ ? QString::fromUtf8(bytes) : SettingsFile::decode(bytes);
}

QByteArray ProfileLines::cut(const QByteArray& bytes, int maxBytes) const
{
    if (!utf8_)
        return SettingsFile::cutBytes(bytes, maxBytes);
    if (bytes.size() <= maxBytes)
        return bytes;
    int n = maxBytes;
    while (n > 0 && isUtf8Continuation(bytes[n]))
        --n;
    return bytes.left(n);
}

// A line "[name]" gives the section name.
bool ProfileLines::sectionOf(const QByteArray& line, QString* name) const
{
    const QByteArray t = trimBlanks(line);
    if (t.size() < 2 || t[0] != '[')
        return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return false;
    *name = decode(trimBlanks(t.mid(1, close - 1)));
    return true;
}

// A line "key=value" gives the key and the raw value bytes.
bool ProfileLines::keyOf(const QByteArray& line, QString* key, QByteArray* value) const
{
    const QByteArray t = trimBlanks(line);
    if (t.isEmpty() || t[0] == ';')
        return false;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return false;
    *key = decode(trimBlanks(t.left(eq)));
    *value = t.mid(eq + 1);
    return true;
}

// The key counts in every section of the name, the first line winning, so
// that a file that once got the section twice still gives its values; new
// keys go to the end of the first of them.
ProfileLines::Place ProfileLines::find(const QString& section, const QString& key) const
{
    Place place;
    bool inSection = false;
    bool firstEnded = false;
    for (int i = 0; i < lines_.size() && place.keyLine < 0; ++i) {
        QString name;
        if (sectionOf(lines_[i].text, &name)) {
            firstEnded = firstEnded || place.sectionLine >= 0;
            inSection = sameName(name, section);
            if (inSection && !firstEnded)
                place.sectionLine = place.lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!firstEnded && !trimBlanks(lines_[i].text).isEmpty())
            place.lastInSection = i;
        QString k;
        QByteArray v;
        if (keyOf(lines_[i].text, &k, &v) && sameName(k, key))
            place.keyLine = i;
    }
    return place;
}

std::optional<QByteArray> ProfileLines::value(const QString& section, const QString& key) const
{
    const Place place = find(section, key);
    if (place.keyLine < 0)
        return std::nullopt;
    QString k;
    QByteArray v;
    keyOf(lines_[place.keyLine].text, &k, &v);
    return trimBlanks(v);
}

void ProfileLines::set(const QString& section, const QString& key, const QString& value)
{
    setBytes(section, key, encode(value));
}

void ProfileLines::setBytes(const QString& section, const QString& key, const QByteArray& value)
{
    const QByteArray text = encode(key) + '=' + value;
    const Place place = find(section, key);
    if (place.keyLine >= 0) {
        lines_[place.keyLine].text = text;
    } else if (place.sectionLine >= 0) {
        insertAfter(place.lastInSection, text);
    } else {
        insertAfter(int(lines_.size()) - 1, '[' + encode(section) + ']');
        insertAfter(int(lines_.size()) - 1, text);
    }
}

// A file whose last line had no line end keeps having none.
void ProfileLines::insertAfter(int index, const QByteArray& text)
{
    Line line{text, newLineEnd_};
    if (index >= 0 && lines_[index].end.isEmpty())
        std::swap(line.end, lines_[index].end);
    lines_.insert(index + 1, std::move(line));
}

QByteArray ProfileLines::bytes() const
{
    QByteArray out = utf8_ ? kUtf8Mark : QByteArray();
    for (const Line& line : lines_)
        out += line.text + line.end;
    return out;
}
