#pragma once

#include <QByteArray>
#include <QString>

// A private-profile (INI) file kept in Shift-JIS (CP932), read and written
// with the rules of the classic profile functions:
// - integer read: the value's leading decimal digits; the default when the
//   key or file is missing; 0 when the value does not start with a digit;
// - text read: blanks and one pair of enclosing quotes removed, cut to 1023
//   bytes without splitting a character; the default when missing;
// - write: replaces the key's line or adds one, keeping every other byte of
//   the file; the file is replaced atomically, so a crash never truncates it.
// Section and key names compare case-insensitively.
class SettingsFile {
public:
    static constexpr int kTextBufferBytes = 1024;

    explicit SettingsFile(QString path);

    const QString& path() const { return path_; }

    int readInt(const QString& section, const QString& key, int defaultValue) const;
    QString readText(const QString& section, const QString& key, const QString& defaultValue) const;
    bool writeText(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);

    // Conversion helpers shared with other users of the encoding.
    static QByteArray encode(const QString& text);
    static QString decode(const QByteArray& bytes);
    // Cuts to at most maxBytes of Shift-JIS without splitting a character.
    static QByteArray cutBytes(const QByteArray& sjis, int maxBytes);

private:
    // The raw value bytes of the key, or no value when key or file is missing.
    bool findRaw(const QString& section, const QString& key, QByteArray* value) const;

    QString path_;
};
