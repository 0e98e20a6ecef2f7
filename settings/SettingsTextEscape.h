#pragma once

#include <QString>

// Lets any flower name pass through the Shift-JIS settings file and come
// back as itself. Names that Shift-JIS holds, without line breaks and
// without blanks or quotes at their ends, are stored unchanged, so files of
// earlier installations read as before. Otherwise:
// - a character Shift-JIS cannot hold (or not give back as itself), CR, LF,
//   and the '&' of a "&#x" already in the name become "&#x<hex>;";
// - a name with blanks at its ends, or enclosed in quotes, is put in double
//   quotes, which the text read removes again.
// No catalogue name contains "&#x", so no stored name is read differently.
class SettingsTextEscape {
public:
    static QString escape(const QString& name);
    // Also drops a half escape at the end, left when a long value was cut.
    static QString unescape(const QString& stored);

private:
    static bool needsEscape(const QString& name, qsizetype i, char32_t c);
    static bool needsQuotes(const QString& text);
    static bool shiftJisHolds(const QString& text);
};
