#include "editor/ShiftJisText.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

namespace {

// Calls f with every code point of the text as a string of one or two units.
template <typename F>
void forEachChar(const QString& text, F f)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!f(text.mid(i, n)))
            return;
        i += n;
    }
}

bool roundTrips(const QString& text)
{
    QStringEncoder enc("CP932");
    QStringDecoder dec("CP932");
    if (!enc.isValid() || !dec.isValid())
        return false;
    const QByteArray bytes = enc(text);
    if (enc.hasError())
        return false;
    const QString back = dec(bytes);
    return !dec.hasError() && back == text;
}

}  // namespace

int ShiftJisText::charBytes(const QString& oneChar)
{
    if (!roundTrips(oneChar))
        return 2;
    QStringEncoder enc("CP932");
    return int(QByteArray(enc(oneChar)).size());
}

int ShiftJisText::bytes(const QString& text)
{
    if (roundTrips(text)) {
        QStringEncoder enc("CP932");
        return int(QByteArray(enc(text)).size());
    }
    int total = 0;
    forEachChar(text, [&](const QString& c) {
        total += charBytes(c);
        return true;
    });
    return total;
}

bool ShiftJisText::encodable(const QString& text)
{
    return firstUnencodable(text).isEmpty();
}

QString ShiftJisText::firstUnencodable(const QString& text)
{
    if (roundTrips(text))
        return {};
    QString bad;
    forEachChar(text, [&](const QString& c) {
        if (roundTrips(c))
            return true;
        bad = c;
        return false;
    });
    return bad;
}

QString ShiftJisText::cut(const QString& text, int maxBytes)
{
    if (bytes(text) <= maxBytes)
        return text;
    QString out;
    int used = 0;
    forEachChar(text, [&](const QString& c) {
        const int n = charBytes(c);
        if (used + n > maxBytes)
            return false;
        used += n;
        out += c;
        return true;
    });
    return out;
}

QString ShiftJisText::fromLookAlikes(QString text)
{
    static const std::pair<char16_t, char16_t> kPairs[] = {
        {u'\u301C', u'\uFF5E'},  // 〜 → ～
        {u'\u2212', u'\uFF0D'},  // − → －
        {u'\u2016', u'\u2225'},  // ‖ → ∥
        {u'\u00A2', u'\uFFE0'},  // ¢ → ￠
        {u'\u00A3', u'\uFFE1'},  // £ → ￡
        {u'\u00AC', u'\uFFE2'},  // ¬ → ￢
    };
    for (QChar& c : text)
        for (const auto& [from, to] : kPairs)
            if (c.unicode() == from)
                c = QChar(to);
    return text;
}
