#pragma once

#include "catalogue/CatalogueStore.h"
#include "support/TestCatalogues.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <random>

// Catalogue files that are broken, endless, locked or in WAL mode, made the
// way a user could meet them.
namespace HostileCatalogues {

// Runs statements on a connection of its own, closed before returning.
inline bool execute(const QString& path, const QStringList& statements)
{
    const QString name = QStringLiteral("hostile-") + path;
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& s : statements)
            ok = ok && q.exec(s);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

inline QVector<FlowerRecord> manyRecords(int count)
{
    QVector<FlowerRecord> rows;
    for (int i = 0; i < count; ++i) {
        FlowerRecord r = TestCatalogues::record(QStringLiteral("ハナ%1").arg(i, 4, 10, QLatin1Char('0')));
        // Long descriptions spread the rows over many pages, as in the real catalogue.
        r.NOTE = QStringLiteral("NOTE-%1;").arg(i) + QString(120, QChar(u'説'));
        rows << r;
    }
    return rows;
}

inline bool writeBytes(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

inline QByteArray garbage(int size)
{
    std::mt19937 random(347);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = char(random() & 0xff);
    bytes[0] = char(0xff);  // never a valid page type
    return bytes;
}

inline int pageSize(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = f.read(18);
    return header.size() == 18 ? (uchar(header[16]) << 8 | uchar(header[17])) : 0;
}

// A catalogue of `rows` records with garbage over the table page that holds
// the middle record: the rows before it read, the rest is lost.
inline bool damagedTablePage(const QString& path, int rows)
{
    if (!TestCatalogues::write(path, manyRecords(rows)))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const qint64 at = f.readAll().indexOf(QStringLiteral("NOTE-%1;").arg(rows / 2).toUtf8());
    f.close();
    const int page = pageSize(path);
    return at > page && writeBytes(path, at / page * page, garbage(page));
}

// A catalogue whose rows all read, with garbage over the root page of the
// index on NAMAE: only a check of the whole file finds it.
inline bool damagedIndexPage(const QString& path, int rows)
{
    if (!TestCatalogues::write(path, manyRecords(rows)))
        return false;
    int root = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("index-root"));
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE type = 'index'")) && q.next())
            root = q.value(0).toInt();
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("index-root"));
    const int page = pageSize(path);
    return root > 1 && writeBytes(path, qint64(root - 1) * page, garbage(page));
}

inline bool randomBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(garbage(8192)) == 8192;
}

// KUSABANA as a view over an endless recursion. With `firstRowNever` the view
// counts the recursion first, so it computes for ever without yielding a row.
inline bool endlessView(const QString& path, bool firstRowNever)
{
    const QString rows = QStringLiteral("WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) ");
    const QString columns = QStringLiteral("'春' AS KISETU, '白系' AS IRO, '花弁５枚型' AS KABEN, '互生' AS HA, "
                                           "'キク科' AS KA, 'キク科' AS KA2, 'a.jpg' AS SYASIN, '' AS NOTE");
    const QString select = firstRowNever
                               ? QStringLiteral("SELECT count(*) AS NAMAE, ") + columns + QStringLiteral(" FROM r")
                               : QStringLiteral("SELECT 'ハナ' || n AS NAMAE, ") + columns + QStringLiteral(" FROM r");
    return execute(path, {QStringLiteral("CREATE VIEW KUSABANA AS ") + rows + select});
}

// KUSABANA with texts far longer than a record holds: every field of its
// three rows about `chars` characters long, the name starting with the
// row's number.
// As a view the texts are made while they are read.
inline bool hugeTexts(const QString& path, int chars, bool view)
{
    QStringList fields;
    for (const QString& c : CatalogueStore::columns()) {
        const QString text = QStringLiteral("replace(hex(zeroblob(%1)), '0', 'あ')").arg(chars / 2);
        fields << (c == QLatin1String("NAMAE") ? QStringLiteral("n || ") + text : text) + QStringLiteral(" AS ") + c;
    }
    const QString select =
        QStringLiteral("WITH r(n) AS (VALUES (1), (2), (3)) SELECT ") + fields.join(u", ") + QStringLiteral(" FROM r");
    return execute(
        path,
        {(view ? QStringLiteral("CREATE VIEW KUSABANA AS ") : QStringLiteral("CREATE TABLE KUSABANA AS ")) + select});
}

// A catalogue in WAL mode, closed cleanly: the log and the shared-memory
// file are gone, as on a CD-ROM made from it.
inline bool walCatalogue(const QString& path, const QVector<FlowerRecord>& rows)
{
    return TestCatalogues::write(path, rows) && execute(path, {QStringLiteral("PRAGMA journal_mode=WAL")}) &&
           !QFile::exists(path + QStringLiteral("-wal")) && !QFile::exists(path + QStringLiteral("-shm"));
}

// Holds an exclusive lock on a catalogue, as a program writing it would.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const QString& path)
        : name_(QStringLiteral("lock-") + path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        held_ = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~ExclusiveLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    bool held() const { return held_; }

private:
    QString name_;
    bool held_ = false;
};

// Another program's hold on a catalogue, as sqlite3 takes it: an open read
// transaction (shared), an open write transaction (reserved) or BEGIN
// EXCLUSIVE; until release() or the end of the object.
class HeldLock {
public:
    enum class Kind { Shared, Reserved, Exclusive };

    HeldLock(const QString& path, Kind kind)
        : name_(QStringLiteral("held-%1-").arg(next()) + path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        QSqlQuery q(db);
        switch (kind) {
        case Kind::Shared:
            held_ = db.open() && q.exec(QStringLiteral("BEGIN")) &&
                    q.exec(QStringLiteral("SELECT COUNT(*) FROM KUSABANA")) && q.next();
            break;
        case Kind::Reserved: held_ = db.open() && q.exec(QStringLiteral("BEGIN IMMEDIATE")); break;
        case Kind::Exclusive: held_ = db.open() && q.exec(QStringLiteral("BEGIN EXCLUSIVE")); break;
        }
    }
    ~HeldLock() { release(); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    bool held() const { return held_; }
    void release()
    {
        if (!QSqlDatabase::contains(name_))
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }

private:
    static int next()
    {
        static int counter = 0;
        return ++counter;
    }

    QString name_;
    bool held_ = false;
};

inline QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

}  // namespace HostileCatalogues
