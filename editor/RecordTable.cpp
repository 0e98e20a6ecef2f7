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

}  // namespace

RecordTable::RecordTable(QString path)
    : path_(std::move(path))
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
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        error_ = errorText(db.lastError());
        return false;
    }
    QSqlQuery pragma(db);
    // A rollback journal synchronised at every commit: a killed process or a
    // lost power leaves either the old or the new table, never a torn one.
    if (!pragma.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) ||
        !pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        error_ = errorText(pragma.lastError());
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
    if (!model_->select()) {
        error_ = errorText(model_->lastError());
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
    QSqlDatabase db = model_->database();
    if (!db.transaction()) {
        error_ = errorText(db.lastError());
        return Outcome::Failed;
    }
    if (!model_->submitAll()) {
        error_ = errorText(model_->lastError());
        db.rollback();
        return Outcome::Failed;
    }
    if (!db.commit()) {
        error_ = errorText(db.lastError());
        db.rollback();
        refresh();
        return Outcome::Failed;
    }
    newRow_ = -1;
    fetchAll();
    return Outcome::Written;
}
