#include "catalogue/CatalogueStore.h"

#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"
#include "catalogue/SqliteWorkLimit.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <unistd.h>

const char* const CatalogueStore::kFileName = "SNH347.mdb";

namespace {

// SQLite's primary result codes that the reader tells apart.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCantOpen = 14;

enum class OpenMode { Write, Read, Immutable };

// Opens a private connection for one operation and removes it afterwards, so
// that the store can be used from tests and tools without shared state.
class Connection {
public:
    Connection(const QString& path, OpenMode mode)
    {
        static QAtomicInt counter;
        name_ = QStringLiteral("sonoha-catalogue-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        switch (mode) {
        case OpenMode::Write: db.setDatabaseName(path); break;
        case OpenMode::Read:
            // Read-only never creates a missing file. A reader waits only
            // briefly for a writer: the user is told about the lock instead.
            db.setDatabaseName(path);
            db.setConnectOptions(
                QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(CatalogueStore::kBusyTimeoutMs));
            break;
        case OpenMode::Immutable:
            db.setDatabaseName(CatalogueStore::immutableUri(path));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
            break;
        }
        opened_ = db.open();
        if (!opened_)
            lastError_ = db.lastError();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    bool opened() const { return opened_; }
    QString error() const { return lastError_.text(); }
    QSqlError lastError() const { return lastError_; }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
    bool opened_ = false;
    QSqlError lastError_;
};

// SQLite's own words for an error, without the driver's addition.
QString sqliteText(const QSqlError& e)
{
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

int primaryCode(const QSqlError& e)
{
    return e.nativeErrorCode().toInt() & 0xff;
}

CatalogueStore::Failure failureOf(const QSqlError& e)
{
    const int code = primaryCode(e);
    return code == kSqliteBusy || code == kSqliteLocked ? CatalogueStore::Failure::Locked
                                                        : CatalogueStore::Failure::Sqlite;
}

// A read-only connection fails with these when SQLite may not create the
// side files of a WAL-mode file (a read-only folder or medium). Nobody can be
// writing such a file, so reading it as immutable is safe there. Other
// read-only refusals (a journal left by a writer that crashed) are reported:
// reading past them would show a half-written file.
bool wantsImmutable(const QSqlError& e)
{
    constexpr int kReadOnlyCantInit = kSqliteReadOnly | (5 << 8);
    constexpr int kReadOnlyDirectory = kSqliteReadOnly | (6 << 8);
    const int code = e.nativeErrorCode().toInt();
    return (code & 0xff) == kSqliteCantOpen || code == kReadOnlyCantInit || code == kReadOnlyDirectory;
}

// A WAL-mode file without its log beside it has no reader or writer: the
// last connection removes the log when it closes. Read-only SQLite would
// still create the log and the shared-memory file, and could not remove them
// afterwards; reading it as immutable leaves the folder as it was.
bool idleWalFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = f.read(20);
    constexpr char kWalVersion = 2;  // the file format's write and read versions
    return header.size() == 20 && header.startsWith("SQLite format 3") && header[18] == kWalVersion &&
           header[19] == kWalVersion && !QFileInfo::exists(path + QStringLiteral("-wal"));
}

// What the file says about KUSABANA. The first statement on a connection is
// where SQLite finds out that a file is no database, is locked or cannot be
// read read-only, so its error is the one to report.
struct Probe {
    bool ok = false;
    QSqlError error;
    bool found = false;
    bool plainTable = false;
};

Probe probe(const Connection& conn)
{
    Probe p;
    if (!conn.opened()) {
        p.error = conn.lastError();
        return p;
    }
    QSqlQuery q(conn.db());
    if (!q.exec(QStringLiteral("SELECT type, sql FROM sqlite_master WHERE name = 'KUSABANA' COLLATE NOCASE"))) {
        p.error = q.lastError();
        return p;
    }
    p.ok = true;
    if (q.next()) {
        p.found = true;
        const QString sql = q.value(1).toString().trimmed();
        p.plainTable = q.value(0).toString() == QLatin1String("table") &&
                       !sql.startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive);
    }
    return p;
}

struct Reader {
    std::unique_ptr<Connection> conn;
    Probe probe;
    bool immutable = false;
};

Reader openReader(const QString& path)
{
    Reader r;
    const bool idleWal = idleWalFile(path);
    r.conn = std::make_unique<Connection>(path, idleWal ? OpenMode::Immutable : OpenMode::Read);
    r.probe = probe(*r.conn);
    r.immutable = idleWal;
    if (idleWal || r.probe.ok || !wantsImmutable(r.probe.error))
        return r;
    auto conn = std::make_unique<Connection>(path, OpenMode::Immutable);
    Probe second = probe(*conn);
    if (!second.ok)
        return r;  // the read-only error is the one that explains it
    r.conn = std::move(conn);
    r.probe = second;
    r.immutable = true;
    return r;
}

// Checks that a file is there and readable before SQLite sees it, so that a
// missing file is reported as such and a pipe is never opened.
bool checkFile(const QString& path, CatalogueStore::ReadResult& out)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        out.failure = CatalogueStore::Failure::Missing;
        out.error = QStringLiteral("file not found");
    } else if (!info.isFile() || !info.isReadable()) {
        out.failure = CatalogueStore::Failure::NotAFile;
        out.error = QStringLiteral("file cannot be read");
    }
    return out.ok();
}

QStringList missingColumns(const QSqlDatabase& db)
{
    // No columns at all: a view SQLite cannot compile; the query then reports
    // SQLite's own reason.
    const QSqlRecord rec = db.record(QStringLiteral("KUSABANA"));
    if (rec.isEmpty())
        return {};
    QStringList missing;
    for (const QString& c : CatalogueStore::columns())
        if (rec.indexOf(c) < 0)
            missing << c;
    return missing;
}

FlowerRecord readRow(const QSqlQuery& q)
{
    // isNull first: a NULL field reads as empty text.
    auto text = [&](int i) { return q.isNull(i) ? QString() : q.value(i).toString(); };
    FlowerRecord r;
    r.NAMAE = text(0);
    r.KISETU = text(1);
    r.IRO = text(2);
    r.KABEN = text(3);
    r.HA = text(4);
    r.KA = text(5);
    r.KA2 = text(6);
    r.SYASIN = text(7);
    r.NOTE = text(8);
    return r;
}

qint64 textSize(const FlowerRecord& r)
{
    return r.NAMAE.size() + r.KISETU.size() + r.IRO.size() + r.KABEN.size() + r.HA.size() + r.KA.size() + r.KA2.size() +
           r.SYASIN.size() + r.NOTE.size();
}

// Cuts a text to at most `chars` characters (a pair of surrogates is one,
// as SQLite counts them); true when it was longer.
bool cutTo(QString& text, int chars)
{
    if (text.size() <= chars)  // never more characters than UTF-16 units
        return false;
    qsizetype at = 0;
    for (int n = 0; n < chars && at < text.size(); ++n)
        at += text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
    if (at >= text.size())
        return false;
    text.truncate(at);
    return true;
}

// The fields that SQLite gave longer than they are read, cut; how many.
int cutToReadChars(FlowerRecord& r)
{
    static const std::array<int, 9> kChars = [] {
        std::array<int, 9> chars{};
        for (std::size_t i = 0; i < chars.size(); ++i)
            chars[i] = CatalogueStore::readChars(CatalogueStore::columns()[qsizetype(i)]);
        return chars;
    }();
    QString* fields[] = {&r.NAMAE, &r.KISETU, &r.IRO, &r.KABEN, &r.HA, &r.KA, &r.KA2, &r.SYASIN, &r.NOTE};
    int cut = 0;
    for (std::size_t i = 0; i < kChars.size(); ++i)
        cut += cutTo(*fields[i], kChars[i]) ? 1 : 0;
    return cut;
}

bool overLimit(const CatalogueStore::ReadResult& out, qint64 chars)
{
    return out.rows.size() >= CatalogueStore::kMaxDerivedRows || chars >= CatalogueStore::kMaxDerivedChars;
}

// Reads the rows in steps; a plain table whole, anything else within the
// limits. SQLite ends next() with an error at a damaged page, so the query's
// error after the last row tells a complete read from a cut one.
class RowReader {
public:
    RowReader(const QSqlDatabase& db, bool plainTable, CatalogueStore::ReadResult& out)
        : plainTable_(plainTable)
        , limit_(db, plainTable ? 0 : CatalogueStore::kMaxDerivedSeconds)
        , query_(db)
        , out_(out)
    {
        query_.setForwardOnly(true);
        if (query_.exec(selectStatement()))
            return;
        done_ = true;
        if (limit_.reached()) {
            out_.end = CatalogueStore::ReadEnd::LimitReached;
        } else {
            out_.failure = failureOf(query_.lastError());
            out_.error = sqliteText(query_.lastError());
        }
    }

    bool done() const { return done_; }

    void step(int rows)
    {
        for (int n = 0; n < rows && !done_; ++n) {
            if (!query_.next()) {
                end();
                return;
            }
            if (!plainTable_ && overLimit(out_, chars_)) {
                out_.end = CatalogueStore::ReadEnd::LimitReached;
                end();
                return;
            }
            out_.rows.push_back(readRow(query_));
            out_.cutTexts += cutToReadChars(out_.rows.back());
            chars_ += textSize(out_.rows.back());
        }
    }

private:
    // Each column one character longer than it is read, so that a longer
    // text shows without SQLite measuring it; SQLite counts characters.
    static QString selectStatement()
    {
        QStringList read;
        for (const QString& c : CatalogueStore::columns())
            read << QStringLiteral("substr(%1, 1, %2)").arg(c).arg(CatalogueStore::readChars(c) + 1);
        return QStringLiteral("SELECT ") + read.join(u", ") + QStringLiteral(" FROM KUSABANA");
    }

    void end()
    {
        using ReadEnd = CatalogueStore::ReadEnd;
        done_ = true;
        if (out_.end == ReadEnd::Complete && query_.lastError().isValid()) {
            out_.end = limit_.reached() ? ReadEnd::LimitReached : ReadEnd::Damaged;
            if (out_.end == ReadEnd::Damaged)
                out_.endError = sqliteText(query_.lastError());
        }
        query_.finish();
    }

    bool plainTable_;
    SqliteWorkLimit limit_;
    QSqlQuery query_;
    CatalogueStore::ReadResult& out_;
    qint64 chars_ = 0;
    bool done_ = false;
};

}  // namespace

const QStringList& CatalogueStore::columns()
{
    static const QStringList cols = {"NAMAE", "KISETU", "IRO", "KABEN", "HA", "KA", "KA2", "SYASIN", "NOTE"};
    return cols;
}

int CatalogueStore::entryLimit(const QString& column)
{
    static const std::pair<const char*, int> kLimits[] = {{"NAMAE", 30}, {"KISETU", 2}, {"IRO", 6},    {"KABEN", 10},
                                                          {"HA", 6},     {"KA", 10},    {"SYASIN", 34}};
    for (const auto& [name, limit] : kLimits)
        if (column == QLatin1String(name))
            return limit;
    return 0;
}

int CatalogueStore::readChars(const QString& column)
{
    // A character takes at least one byte, so twice the limit in characters
    // holds anything the editor writes and then some.
    if (const int limit = entryLimit(column); limit > 0)
        return 2 * limit;
    return column == QLatin1String("KA2") ? 255 : 65535;
}

QString CatalogueStore::immutableUri(const QString& path)
{
    const QByteArray local = QFileInfo(path).absoluteFilePath().toUtf8();
    return QStringLiteral("file:") + QString::fromLatin1(local.toPercentEncoding("/")) + QStringLiteral("?immutable=1");
}

struct CatalogueStore::Reading::State {
    ReadResult out;
    Reader reader;
    std::unique_ptr<RowReader> rows;
};

CatalogueStore::Reading::Reading(const QString& path)
    : s_(std::make_unique<State>())
{
    ReadResult& out = s_->out;
    if (!checkFile(path, out))
        return;
    s_->reader = openReader(path);
    out.immutable = s_->reader.immutable;
    if (!s_->reader.probe.ok) {
        out.failure = failureOf(s_->reader.probe.error);
        out.error = sqliteText(s_->reader.probe.error);
        return;
    }
    if (!s_->reader.probe.found) {
        out.failure = Failure::NoTable;
        out.error = QStringLiteral("table KUSABANA not found");
        return;
    }
    const QSqlDatabase db = s_->reader.conn->db();
    if (const QStringList missing = missingColumns(db); !missing.isEmpty()) {
        out.failure = Failure::MissingColumns;
        out.error = QStringLiteral("missing columns: ") + missing.join(u", ");
        out.missingColumns = missing;
        return;
    }
    s_->rows = std::make_unique<RowReader>(db, s_->reader.probe.plainTable, out);
}

CatalogueStore::Reading::~Reading()
{
    // The query goes before its connection.
    s_->rows.reset();
}

bool CatalogueStore::Reading::done() const
{
    return !s_->rows || s_->rows->done();
}

int CatalogueStore::Reading::step(int rows)
{
    const int before = int(s_->out.rows.size());
    if (!done())
        s_->rows->step(rows);
    return int(s_->out.rows.size()) - before;
}

QString CatalogueStore::Reading::lastName() const
{
    return s_->out.rows.isEmpty() ? QString() : s_->out.rows.back().NAMAE;
}

CatalogueStore::ReadResult CatalogueStore::Reading::finish()
{
    while (!done())
        step(std::numeric_limits<int>::max());
    s_->rows.reset();
    ReadResult out = std::move(s_->out);
    s_->out = ReadResult();
    if (!out.ok()) {
        out.rows.clear();
        return out;
    }
    // A table already in name order needs no sort: the check costs one name
    // comparison per row, the sort many.
    const NameOrder order;
    const auto byName = [&](const FlowerRecord& a, const FlowerRecord& b) { return order.less(a.NAMAE, b.NAMAE); };
    if (!std::is_sorted(out.rows.begin(), out.rows.end(), byName))
        std::stable_sort(out.rows.begin(), out.rows.end(), byName);
    return out;
}

CatalogueStore::ReadResult CatalogueStore::read(const QString& path)
{
    return Reading(path).finish();
}

bool CatalogueStore::quickCheck(const QString& path, QStringList& damage, QString* error)
{
    damage.clear();
    ReadResult out;
    if (checkFile(path, out)) {
        const Reader reader = openReader(path);
        if (reader.probe.ok) {
            QSqlQuery q(reader.conn->db());
            q.setForwardOnly(true);
            if (q.exec(QStringLiteral("PRAGMA quick_check"))) {
                // One result can hold several lines under a "*** in database main ***" heading.
                while (q.next())
                    for (const QString& line : q.value(0).toString().split(u'\n', Qt::SkipEmptyParts))
                        if (line != QLatin1String("ok") && !line.startsWith(QLatin1String("***")))
                            damage << line;
            }
            // The check itself can be stopped by the damage it looks for.
            if (q.lastError().isValid())
                damage << sqliteText(q.lastError());
            return true;
        }
        out.error = sqliteText(reader.probe.error);
    }
    if (error)
        *error = out.error;
    return false;
}

CatalogueStore::LoadResult CatalogueStore::load(const QString& path, FlowerCatalogue& catalogue,
                                                const std::function<void(const QString&)>& onRecord)
{
    return fill(read(path), catalogue, onRecord);
}

CatalogueStore::LoadResult CatalogueStore::fill(const ReadResult& read, FlowerCatalogue& catalogue,
                                                const std::function<void(const QString&)>& onRecord)
{
    LoadResult result;
    catalogue.clear();
    result.failure = read.failure;
    result.error = read.error;
    result.missingColumns = read.missingColumns;
    result.end = read.end;
    result.endError = read.endError;
    result.cutTexts = read.cutTexts;
    if (!read.ok())
        return result;
    result.ok = true;
    result.totalRows = int(read.rows.size());
    for (const FlowerRecord& r : read.rows) {
        if (!catalogue.append(r))
            break;
        ++result.loadedRows;
        if (onRecord)
            onRecord(r.NAMAE);
    }
    return result;
}

bool CatalogueStore::copy(const QString& from, const QString& to, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (QFileInfo::exists(to))
        return fail(QStringLiteral("file exists already"));
    ReadResult checked;
    if (!checkFile(from, checked))
        return fail(checked.error);
    const Reader reader = openReader(from);
    if (!reader.probe.ok)
        return fail(sqliteText(reader.probe.error));
    QSqlQuery q(reader.conn->db());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(to);
    if (!q.exec()) {
        QFile::remove(to);
        return fail(sqliteText(q.lastError()));
    }
    // SQLite writes the copy without syncing it.
    QFile out(to);
    if (!out.open(QIODevice::ReadOnly) || ::fsync(out.handle()) != 0) {
        QFile::remove(to);
        return fail(QStringLiteral("the copy could not be written to the disk"));
    }
    return true;
}

bool CatalogueStore::createNew(const QString& path, QString* error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("file exists already");
        return false;
    }
    Connection conn(path, OpenMode::Write);
    if (!conn.opened()) {
        if (error)
            *error = conn.error();
        return false;
    }
    QSqlQuery q(conn.db());
    const bool ok =
        q.exec(QStringLiteral("CREATE TABLE KUSABANA (NAMAE TEXT NOT NULL UNIQUE, KISETU TEXT, IRO TEXT, KABEN TEXT, "
                              "HA TEXT, KA TEXT, KA2 TEXT, SYASIN TEXT, NOTE TEXT)"));
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}

bool CatalogueStore::insert(const QString& path, const QVector<FlowerRecord>& rows, QString* error)
{
    Connection conn(path, OpenMode::Write);
    if (!conn.opened()) {
        if (error)
            *error = conn.error();
        return false;
    }
    QSqlDatabase db = conn.db();
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO KUSABANA (") + columns().join(u", ") +
              QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const FlowerRecord& r : rows) {
        for (const QString& v : {r.NAMAE, r.KISETU, r.IRO, r.KABEN, r.HA, r.KA, r.KA2, r.SYASIN, r.NOTE})
            q.addBindValue(v.isNull() ? QStringLiteral("") : v);
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text();
            db.rollback();
            return false;
        }
    }
    return db.commit();
}
