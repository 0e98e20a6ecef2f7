#include "settings/SettingsTextEscape.h"

#include "settings/SettingsFile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringView>

namespace {

const QString kIntroducer = QStringLiteral("&#x");
constexpr int kMaxHexDigits = 6;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool isCharacter(char32_t c)
{
    return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

}  // namespace

bool SettingsTextEscape::shiftJisHolds(const QString& text)
{
    QStringEncoder enc("CP932");
    if (!enc.isValid())
        return false;
    const QByteArray bytes = enc(text);
    return !enc.hasError() && SettingsFile::decode(bytes) == text;
}

bool SettingsTextEscape::needsEscape(const QString& name, qsizetype i, char32_t c)
{
    if (c == U'\r' || c == U'\n')
        return true;
    if (c == U'&')
        return QStringView(name).mid(i).startsWith(kIntroducer);
    return !shiftJisHolds(QString::fromUcs4(&c, 1));
}

bool SettingsTextEscape::needsQuotes(const QString& text)
{
    if (text.isEmpty())
        return false;
    if (isBlank(text.front()) || isBlank(text.back()))
        return true;
    return text.size() >= 2 && isQuote(text.front()) && text.back() == text.front();
}

QString SettingsTextEscape::escape(const QString& name)
{
    QString out;
    const bool plain =
        shiftJisHolds(name) && !name.contains(u'\r') && !name.contains(u'\n') && !name.contains(kIntroducer);
    if (plain) {
        out = name;
    } else {
        for (qsizetype i = 0; i < name.size();) {
            const bool pair = name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate();
            const char32_t c = pair ? QChar::surrogateToUcs4(name[i], name[i + 1]) : name[i].unicode();
            if (needsEscape(name, i, c))
                out += kIntroducer + QString::number(uint(c), 16).toUpper() + u';';
            else
                out += QStringView(name).mid(i, pair ? 2 : 1);
            i += pair ? 2 : 1;
        }
    }
    return needsQuotes(out) ? u'"' + out + u'"' : out;
}

QString SettingsTextEscape::unescape(const QString& stored)
{
    QString out;
    out.reserve(stored.size());
    qsizetype i = 0;
    while (i < stored.size()) {
        if (!QStringView(stored).mid(i).startsWith(kIntroducer)) {
            out += stored[i++];
            continue;
        }
        qsizetype j = i + kIntroducer.size();
        char32_t c = 0;
        while (j < stored.size() && j - i - kIntroducer.size() < kMaxHexDigits && hexValue(stored[j]) >= 0)
            c = c * 16 + char32_t(hexValue(stored[j++]));
        const bool digits = j > i + kIntroducer.size();
        if (j == stored.size())
            break;  // the value was cut inside an escape
        if (digits && stored[j] == u';' && isCharacter(c)) {
            out += QString::fromUcs4(&c, 1);
            i = j + 1;
        } else {
            out += stored[i++];
        }
    }
    return out;
}
