#include "editor/RecordTable.h"

#include "catalogue/CatalogueStore.h"
#include "editor/EntryRules.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>

namespace {

QString errorText(const QSqlError& e)
{
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

// SQLite's primary result codes, as the driver reports them.
RecordTable::Cause causeOf(const QSqlError& e)
{
    bool known = false;
    const int code = e.nativeErrorCode().toInt(&known) & 0xff;
    if (!known)
        return RecordTable::Cause::Other;
    switch (code) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return RecordTable::Cause::Locked;
    case 3:  // SQLITE_PERM
    case 8:  // SQLITE_READONLY
    case 10:  // SQLITE_IOERR
    case 13:  // SQLITE_FULL
    case 14:  // SQLITE_CANTOPEN: the journal cannot be made beside the file
        return RecordTable::Cause::Unwritable;
    case 19:  // SQLITE_CONSTRAINT
        return RecordTable::Cause::Constraint;
    default: return RecordTable::Cause::Other;
    }
}

}  // namespace

RecordTable::RecordTable(QString path, int busyTimeoutMs)
    : path_(std::move(path))
    , busyTimeoutMs_(busyTimeoutMs)
{
    static QAtomicInt counter;
    connection_ = QStringLiteral("sonoha-editor-%1").arg(counter.fetchAndAddRelaxed(1));
}

RecordTable::~RecordTable()
{
    model_.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

bool RecordTable::open()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (!db.open()) {
        setFailure(db.lastError());
        return false;
    }
    QSqlQuery pragma(db);
    // A rollback journal synchronised at every commit: a killed process or a
    // lost power leaves either the old or the new table, never a torn one.
    if (!pragma.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) ||
        !pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        setFailure(pragma.lastError());
        return false;
    }
    pragma.finish();
    const QSqlRecord columns = db.record(QStringLiteral("KUSABANA"));
    for (const QString& c : CatalogueStore::columns()) {
        if (columns.indexOf(c) < 0) {
            error_ =
                columns.isEmpty() ? QStringLiteral("table KUSABANA not found") : QStringLiteral("missing column ") + c;
            return false;
        }
    }
    model_ = std::make_unique<QSqlTableModel>(nullptr, db);
    model_->setTable(QStringLiteral("KUSABANA"));
    model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    return refresh();
}

int RecordTable::column(const QString& name) const
{
    return model_ ? model_->fieldIndex(name) : -1;
}

void RecordTable::setFailure(const QSqlError& e)
{
    error_ = errorText(e);
    cause_ = causeOf(e);
}

bool RecordTable::columnsKnown() const
{
    return model_->fieldIndex(CatalogueStore::columns().first()) >= 0;
}

bool RecordTable::execute(const QString& statement)
{
    QSqlQuery q(model_->database());
    if (q.exec(statement))
        return true;
    setFailure(q.lastError());
    return false;
}

void RecordTable::fetchAll()
{
    // Reading to the end finishes the statement, so that no read stays open
    // on the file between the user's actions.
    while (model_->canFetchMore())
        model_->fetchMore();
}

bool RecordTable::refresh()
{
    newRow_ = -1;
    model_->revertAll();
    // A failed read makes QSqlTableModel forget the table's columns, and it
    // would refuse every later read ("Unable to find table"): they are read
    // again first.
    if (!columnsKnown()) {
        model_->setTable(QStringLiteral("KUSABANA"));
        model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
        if (!columnsKnown()) {
            // setTable() keeps only its own text; the statement tells why.
            if (execute(QStringLiteral("SELECT 1 FROM KUSABANA LIMIT 1")))
                setFailure(model_->lastError());
            return false;
        }
    }
    if (!model_->select()) {
        setFailure(model_->lastError());
        return false;
    }
    fetchAll();
    return true;
}

int RecordTable::rowCount() const
{
    return model_ ? model_->rowCount() : 0;
}

FlowerRecord RecordTable::recordAt(int row) const
{
    FlowerRecord r;
    QString* fields[] = {&r.NAMAE, &r.KISETU, &r.IRO, &r.KABEN, &r.HA, &r.KA, &r.KA2, &r.SYASIN, &r.NOTE};
    const QStringList& names = CatalogueStore::columns();
    for (int i = 0; i < names.size(); ++i)
        *fields[i] = model_->data(model_->index(row, column(names[i]))).toString();
    return r;
}

int RecordTable::find(const FlowerRecord& record) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (recordAt(row) == record)
            return row;
    return -1;
}

int RecordTable::startNew()
{
    abandonPending();
    const int row = model_->rowCount();
    if (!model_->insertRow(row))
        return -1;
    newRow_ = row;
    return row;
}

bool RecordTable::hasPending() const
{
    return model_ && model_->isDirty();
}

void RecordTable::abandonPending()
{
    if (model_->isDirty())
        model_->revertAll();
    newRow_ = -1;
}

int RecordTable::storedRows() const
{
    QSqlQuery q(model_->database());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM KUSABANA")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

RecordTable::Outcome RecordTable::writePending()
{
    if (!hasPending())
        return Outcome::Nothing;
    if (newRow_ >= 0) {
        if (recordAt(newRow_) == FlowerRecord{}) {
            abandonPending();
            return Outcome::Nothing;
        }
        // The catalogue holds a fixed number of flowers; a row beyond it
        // would be in the file but never shown.
        const int stored = storedRows();
        if (stored >= EntryRules::kMaxRecords)
            return Outcome::Full;
    }
    return submit();
}

RecordTable::Outcome RecordTable::write(const FlowerRecord* stored, const FlowerRecord& values)
{
    abandonPending();
    if (!columnsKnown() && !refresh())
        return Outcome::Failed;
    int row = -1;
    if (stored) {
        Outcome failure = Outcome::Gone;
        row = locate(*stored, failure);
        if (row < 0)
            return failure;
    } else {
        if (storedRows() >= EntryRules::kMaxRecords)
            return Outcome::Full;
        row = startNew();
        if (row < 0) {
            setFailure(model_->lastError());
            return Outcome::Failed;
        }
    }
    const FlowerRecord before = recordAt(row);
    const QString FlowerRecord::*fields[] = {&FlowerRecord::NAMAE, &FlowerRecord::KISETU, &FlowerRecord::IRO,
                                             &FlowerRecord::KABEN, &FlowerRecord::HA,     &FlowerRecord::KA,
                                             &FlowerRecord::KA2,   &FlowerRecord::SYASIN, &FlowerRecord::NOTE};
    const QStringList& names = CatalogueStore::columns();
    for (int i = 0; i < names.size(); ++i) {
        // A stored field that keeps its text is left alone, NULL included.
        if (stored && values.*fields[i] == before.*fields[i])
            continue;
        model_->setData(model_->index(row, column(names[i])), values.*fields[i]);
    }
    const Outcome o = submit();
    if (o != Outcome::Written)
        abandonPending();
    return o;
}

int RecordTable::locate(const FlowerRecord& stored, Outcome& failure)
{
    failure = Outcome::Failed;
    if (!columnsKnown() && !refresh())
        return -1;
    int row = find(stored);
    // The rows in memory may be older than the file.
    if (row < 0 && !refresh())
        return -1;
    row = row < 0 ? find(stored) : row;
    failure = Outcome::Gone;
    return row;
}

RecordTable::Outcome RecordTable::remove(const FlowerRecord& stored)
{
    abandonPending();
    Outcome failure = Outcome::Gone;
    const int row = locate(stored, failure);
    return row < 0 ? failure : remove(row);
}

RecordTable::Outcome RecordTable::remove(int row)
{
    abandonPending();
    if (row < 0 || row >= model_->rowCount() || !model_->removeRow(row))
        return Outcome::Nothing;
    const Outcome o = submit();
    if (o != Outcome::Written)
        model_->revertAll();
    return o;
}

RecordTable::Outcome RecordTable::submit()
{
    // The write lock is taken first, so that a lock held elsewhere fails the
    // write before anything of it is done.
    if (!execute(QStringLiteral("BEGIN IMMEDIATE")))
        return Outcome::Failed;
    if (!model_->submitAll()) {
        setFailure(model_->lastError());
        execute(QStringLiteral("ROLLBACK"));
        return Outcome::Failed;
    }
    if (!execute(QStringLiteral("COMMIT"))) {
        // The model has already read the uncommitted table: read it again.
        const QString error = error_;
        const Cause cause = cause_;
        execute(QStringLiteral("ROLLBACK"));
        refresh();
        error_ = error;
        cause_ = cause;
        return Outcome::Failed;
    }
    cause_ = Cause::None;
    newRow_ = -1;
    fetchAll();
    return Outcome::Written;
}
