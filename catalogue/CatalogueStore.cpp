#include "catalogue/CatalogueStore.h"

#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

const char* const CatalogueStore::kFileName = "SNH347.mdb";

namespace {

// Opens a private connection for one operation and removes it afterwards, so
// that the store can be used from tests and tools without shared state.
class Connection {
public:
    Connection(const QString& path, bool readOnly)
    {
        static QAtomicInt counter;
        name_ = QStringLiteral("sonoha-catalogue-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        if (readOnly)
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        opened_ = db.open();
        if (!opened_)
            error_ = db.lastError().text();
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
    QString error() const { return error_; }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
    bool opened_ = false;
    QString error_;
};

QString missingColumns(const QSqlDatabase& db)
{
    const QSqlRecord rec = db.record(QStringLiteral("KUSABANA"));
    if (rec.isEmpty())
        return QStringLiteral("table KUSABANA not found");
    QStringList missing;
    for (const QString& c : CatalogueStore::columns())
        if (rec.indexOf(c) < 0)
            missing << c;
    return missing.isEmpty() ? QString() : QStringLiteral("missing columns: ") + missing.join(u", ");
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

}  // namespace

const QStringList& CatalogueStore::columns()
{
    static const QStringList cols = {"NAMAE", "KISETU", "IRO", "KABEN", "HA", "KA", "KA2", "SYASIN", "NOTE"};
    return cols;
}

bool CatalogueStore::readAll(const QString& path, QVector<FlowerRecord>& rows, QString* error)
{
    rows.clear();
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("file not found"));
    if (!info.isFile() || !info.isReadable())
        return fail(QStringLiteral("file cannot be read"));

    Connection conn(path, true);
    if (!conn.opened())
        return fail(conn.error());
    QSqlDatabase db = conn.db();
    if (const QString why = missingColumns(db); !why.isEmpty())
        return fail(why);

    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT ") + columns().join(u", ") + QStringLiteral(" FROM KUSABANA")))
        return fail(q.lastError().text());
    while (q.next())
        rows.push_back(readRow(q));
    q.finish();

    const NameOrder order;
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const FlowerRecord& a, const FlowerRecord& b) { return order.less(a.NAMAE, b.NAMAE); });
    return true;
}

CatalogueStore::LoadResult CatalogueStore::load(const QString& path, FlowerCatalogue& catalogue,
                                                const std::function<void(const QString&)>& onRecord)
{
    LoadResult result;
    QVector<FlowerRecord> rows;
    catalogue.clear();
    if (!readAll(path, rows, &result.error))
        return result;
    result.ok = true;
    result.totalRows = int(rows.size());
    for (const FlowerRecord& r : rows) {
        if (!catalogue.append(r))
            break;
        ++result.loadedRows;
        if (onRecord)
            onRecord(r.NAMAE);
    }
    return result;
}

bool CatalogueStore::createNew(const QString& path, QString* error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("file exists already");
        return false;
    }
    Connection conn(path, false);
    if (!conn.opened()) {
        if (error)
            *error = conn.error();
        return false;
    }
    QSqlQuery q(conn.db());
    const bool ok = q.exec(QStringLiteral(
        "CREATE TABLE KUSABANA (NAMAE TEXT NOT NULL UNIQUE, KISETU TEXT, IRO TEXT, KABEN TEXT, "
        "HA TEXT, KA TEXT, KA2 TEXT, SYASIN TEXT, NOTE TEXT)"));
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}

bool CatalogueStore::insert(const QString& path, const QVector<FlowerRecord>& rows, QString* error)
{
    Connection conn(path, false);
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
