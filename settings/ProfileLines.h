#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The lines of a settings file as they were read, each with its own line
// end, so that replacing one key keeps every other byte: a UTF-8 byte-order
// mark, CR LF, LF or CR alone (editors on other systems save any of them).
// Added lines take the file's first line end, CR LF for a new file.
// A byte-order mark means an editor saved the file as UTF-8; its text is
// then read and written as UTF-8, otherwise as Shift-JIS.
class ProfileLines {
public:
    explicit ProfileLines(const QByteArray& data);

    // The key's value with the blanks around it removed, or nothing when the
    // section or key is missing. Names compare case-insensitively.
    std::optional<QByteArray> value(const QString& section, const QString& key) const;
    // Replaces the key's line in place, or adds it after the section's last
    // line, or adds the section at the end of the file.
    void set(const QString& section, const QString& key, const QString& value);
    // The same with the value's bytes as they are (no line break in them).
    void setBytes(const QString& section, const QString& key, const QByteArray& value);
    QByteArray bytes() const;

    QByteArray encode(const QString& text) const;
    QString decode(const QByteArray& bytes) const;
    // Cuts to at most maxBytes without splitting a character.
    QByteArray cut(const QByteArray& bytes, int maxBytes) const;

    static QByteArray trimBlanks(const QByteArray& s);

private:
    struct Line {
        QByteArray text;
        QByteArray end;  // "\r\n", "\n", "\r", or empty on a last line without one
    };
    struct Place {
        int sectionLine = -1;
        int lastInSection = -1;
        int keyLine = -1;
    };

    bool sectionOf(const QByteArray& line, QString* name) const;
    bool keyOf(const QByteArray& line, QString* key, QByteArray* value) const;
    Place find(const QString& section, const QString& key) const;
    void insertAfter(int index, const QByteArray& text);

    bool utf8_ = false;
    QByteArray newLineEnd_;
    QList<Line> lines_;
};
