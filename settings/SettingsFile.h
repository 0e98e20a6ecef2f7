#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

class ProfileLines;

// A private-profile (INI) file kept in Shift-JIS (CP932), read and written
// with the rules of the classic profile functions:
// - integer read: the value's leading decimal digits; the default when the
//   key or file is missing; 0 when the value does not start with a digit;
// - text read: blanks and one pair of enclosing quotes removed, cut to 1023
//   bytes without splitting a character; the default when missing;
// - write: replaces the key's line or adds one, keeping every other byte of
//   the file; the file is replaced atomically, so a crash never truncates it.
// Section and key names compare case-insensitively. Line ends and a UTF-8
// byte-order mark written by other editors are understood and kept (see
// ProfileLines).
//
// Only a regular file of at most kMaxFileBytes is read: a FIFO, a device, a
// directory or a huge file in its place reads as a missing file, at once, and
// a write leaves it alone and gives false. A write that fails in any step (a
// full disk, a quota, an I/O error) keeps the old file and gives false.
class SettingsFile {
public:
    static constexpr int kTextBufferBytes = 1024;
    // Far above any real settings file, which holds a dozen short lines.
    static constexpr qint64 kMaxFileBytes = qint64(1024) * 1024;
    using Entry = std::pair<QString, QString>;  // key, value

    explicit SettingsFile(QString path);

    // Called after every write that left the file as it was, so that the
    // program can tell the user that a setting was not kept.
    void onWriteFailed(std::function<void()> handler) { writeFailed_ = std::move(handler); }

    const QString& path() const { return path_; }

    // What the file is on the disk now, from its metadata alone: which file
    // under the name, its size and its times. Any write, by this program or
    // another, gives another stamp; no stamp of a missing file equals one
    // of a file.
    struct Stamp {
        qint64 device = -1;
        qint64 inode = -1;
        qint64 size = -1;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    Stamp stamp() const;

    int readInt(const QString& section, const QString& key, int defaultValue) const;
    // Several integer keys in one read of the file; nothing for a key that
    // is missing.
    QList<std::optional<int>> readInts(const QString& section, const QStringList& keys) const;
    QString readText(const QString& section, const QString& key, const QString& defaultValue) const;
    // The value's bytes as the file holds them when readText cannot give
    // them back as they are (bytes that are no character of the encoding),
    // else nothing. Written back with writeTexts' kept, they stay unchanged.
    std::optional<QByteArray> undecodableText(const QString& section, const QString& key) const;
    bool writeText(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);
    // Several keys in one replace of the file: all of them change, or none.
    // The keys in kept get their bytes as they are.
    using KeptEntry = std::pair<QString, QByteArray>;  // key, value bytes
    bool writeTexts(const QString& section, const QList<Entry>& entries, const QList<KeptEntry>& kept = {});

    // Conversion helpers shared with other users of the encoding.
    static QByteArray encode(const QString& text);
    static QString decode(const QByteArray& bytes);
    // Cuts to at most maxBytes of Shift-JIS without splitting a character.
    static QByteArray cutBytes(const QByteArray& sjis, int maxBytes);

private:
    std::optional<ProfileLines> load() const;
    static std::optional<int> intOf(const std::optional<QByteArray>& raw);
    static QByteArray unquoted(const QByteArray& raw);
    bool isMissing() const;
    bool replaceWith(const QByteArray& bytes) const;
    bool write(const QString& section, const QList<Entry>& entries, const QList<KeptEntry>& kept);

    QString path_;
    std::function<void()> writeFailed_;
};
