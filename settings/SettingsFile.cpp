#include "settings/SettingsFile.h"

#include "platform/BoundedFile.h"
#include "settings/ProfileLines.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
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

std::optional<ProfileLines> SettingsFile::load() const
{
    const std::optional<QByteArray> data = BoundedFile::read(path_, kMaxFileBytes);
    if (!data)
        return std::nullopt;
    return ProfileLines(*data);
}

// Nothing at all under the name, not even a dangling link: a write may
// create the file. Anything else that could not be read is left alone.
bool SettingsFile::isMissing() const
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path_);
    return !native.isEmpty() && ::lstat(native.constData(), &st) != 0 && errno == ENOENT;
}

SettingsFile::Stamp SettingsFile::stamp() const
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path_);
    if (native.isEmpty() || ::stat(native.constData(), &st) != 0)
        return {};
    return {qint64(st.st_dev), qint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

std::optional<int> SettingsFile::intOf(const std::optional<QByteArray>& raw)
{
    if (!raw)
        return std::nullopt;
    qint64 n = 0;
    for (char c : *raw) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + (c - '0');
        if (n > 0x7FFFFFFF)
            return 0x7FFFFFFF;
    }
    return int(n);
}

int SettingsFile::readInt(const QString& section, const QString& key, int defaultValue) const
{
    const std::optional<ProfileLines> lines = load();
    return intOf(lines ? lines->value(section, key) : std::nullopt).value_or(defaultValue);
}

QList<std::optional<int>> SettingsFile::readInts(const QString& section, const QStringList& keys) const
{
    const std::optional<ProfileLines> lines = load();
    QList<std::optional<int>> values;
    for (const QString& key : keys)
        values.append(intOf(lines ? lines->value(section, key) : std::nullopt));
    return values;
}

QString SettingsFile::readText(const QString& section, const QString& key, const QString& defaultValue) const
{
    const std::optional<ProfileLines> lines = load();
    const std::optional<QByteArray> raw = lines ? lines->value(section, key) : std::nullopt;
    if (!raw)
        return defaultValue;
    return lines->decode(lines->cut(unquoted(*raw), kTextBufferBytes - 1));
}

std::optional<QByteArray> SettingsFile::undecodableText(const QString& section, const QString& key) const
{
    const std::optional<ProfileLines> lines = load();
    std::optional<QByteArray> raw = lines ? lines->value(section, key) : std::nullopt;
    if (!raw)
        return std::nullopt;
    const QByteArray read = lines->cut(unquoted(*raw), kTextBufferBytes - 1);
    if (lines->encode(lines->decode(read)) == read)
        return std::nullopt;
    return raw;
}

QByteArray SettingsFile::unquoted(const QByteArray& raw)
{
    if (raw.size() >= 2 && (raw[0] == '"' || raw[0] == '\'') && raw.back() == raw[0])
        return raw.mid(1, raw.size() - 2);
    return raw;
}

bool SettingsFile::writeText(const QString& section, const QString& key, const QString& value)
{
    return writeTexts(section, {{key, value}});
}

bool SettingsFile::writeInt(const QString& section, const QString& key, int value)
{
    return writeText(section, key, QString::number(value));
}

bool SettingsFile::writeTexts(const QString& section, const QList<Entry>& entries, const QList<KeptEntry>& kept)
{
    const bool ok = write(section, entries, kept);
    if (!ok && writeFailed_)
        writeFailed_();
    return ok;
}

bool SettingsFile::write(const QString& section, const QList<Entry>& entries, const QList<KeptEntry>& kept)
{
    std::optional<ProfileLines> lines = load();
    if (!lines && !isMissing())
        return false;  // never replace what we could not read
    if (!lines)
        lines.emplace(QByteArray());
    for (const auto& [key, value] : entries) {
        QString clean = value;
        clean.replace(u'\r', u' ').replace(u'\n', u' ');
        lines->set(section, key, clean);
    }
    for (const auto& [key, bytes] : kept)
        if (!bytes.contains('\r') && !bytes.contains('\n'))
            lines->setBytes(section, key, bytes);
    const QByteArray bytes = lines->bytes();
    // A file the next read would refuse must not be written either.
    if (bytes.size() > kMaxFileBytes)
        return false;
    return replaceWith(bytes);
}

// QSaveFile::commit() can report success after a buffered write failed (a
// full disk), and then renames a short or empty file over the old one; so
// every step is checked here, and anything short of the whole text, safely
// on the disk, cancels the replace.
bool SettingsFile::replaceWith(const QByteArray& bytes) const
{
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const bool written =
        out.write(bytes) == bytes.size() && out.flush() && out.size() == bytes.size() && ::fsync(out.handle()) == 0;
    if (!written) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
