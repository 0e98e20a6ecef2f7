#pragma once

#include <QString>

// Byte arithmetic of the Shift-JIS (CP932) encoding, in which the record's
// entry limits are counted and the viewing history stores names.
class ShiftJisText {
public:
    // Bytes the text takes; a character the encoding cannot hold counts as
    // two, the width it would have had as a full-width character.
    static int bytes(const QString& text);
    // Whether every character survives a round trip through the encoding.
    static bool encodable(const QString& text);
    // The first character (a whole code point) that the encoding cannot
    // hold, or an empty string.
    static QString firstUnencodable(const QString& text);
    // The longest start of the text within maxBytes, never splitting a
    // character.
    static QString cut(const QString& text, int maxBytes);
    // The text with the JIS look-alikes that Linux input methods produce
    // (WAVE DASH, MINUS SIGN, DOUBLE VERTICAL LINE, the Latin-1 cent, pound
    // and not signs) replaced by the characters CP932 holds for them, one
    // for one.
    static QString fromLookAlikes(QString text);

private:
    static int charBytes(const QString& oneChar);
};
