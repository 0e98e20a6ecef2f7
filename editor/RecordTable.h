#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
#include <memory>

class QSqlError;
class QSqlTableModel;

// The editor's view of table KUSABANA: a QSqlTableModel over its own
// connection, holding at most one pending change (a changed row, a started
// new row or a row marked for deletion). Every write is one transaction, so
// a refused or failed write leaves the table as it was, and the rollback
// journal with full synchronisation keeps the file whole across a crash.
//
// A read or a write may meet a lock that another program holds on the file;
// it fails after the busy timeout, says why in cause(), and the next read or
// write tries afresh.
class RecordTable {
public:
    enum class Outcome {
        Nothing,  // no pending change, or a new row left empty
        Written,
        Full,  // a new row while the table holds its maximum already
        Failed,  // the database refused; error() has its own text
        Gone,  // the stored record to write over is no longer in the table
    };

    // Why the last read or write failed.
    enum class Cause {
        None,
        Locked,  // another program holds a lock on the file
        Unwritable,  // the file, its folder or the disk takes no writes
        Constraint,  // the record breaks a rule of the table (a name already there)
        Other,
    };

    static constexpr int kBusyTimeoutMs = 3000;

    explicit RecordTable(QString path, int busyTimeoutMs = kBusyTimeoutMs);
    ~RecordTable();
    RecordTable(const RecordTable&) = delete;
    RecordTable& operator=(const RecordTable&) = delete;

    bool open();
    const QString& error() const { return error_; }
    Cause cause() const { return cause_; }
    QSqlTableModel* model() const { return model_.get(); }
    int column(const QString& name) const;

    // Re-reads the whole table, dropping any pending change.
    bool refresh();
    int rowCount() const;
    FlowerRecord recordAt(int row) const;
    // The first row that holds the record, or -1.
    int find(const FlowerRecord& record) const;

    // Starts a new row at the end and returns its number.
    int startNew();
    bool isNewRow(int row) const { return row >= 0 && row == newRow_; }
    bool hasPending() const;
    // Writes the pending change in one transaction. A change the database
    // refuses stays pending; after a failed commit the table is read again.
    Outcome writePending();
    // Writes one record in one transaction, dropping any other pending
    // change: over the row that holds `stored`, or as a new row when stored
    // is null. The table is read again first when an earlier read failed or
    // the row is not found. Whatever the outcome the caller keeps the record,
    // so that it can be written again.
    Outcome write(const FlowerRecord* stored, const FlowerRecord& values);
    // Deletes a row in one transaction (any other pending change is dropped).
    Outcome remove(int row);
    // Deletes the row that holds the record, looked up as write() does.
    Outcome remove(const FlowerRecord& stored);
    void abandonPending();

    // Rows in the table itself, pending changes aside; -1 on failure.
    int storedRows() const;

private:
    Outcome submit();
    void fetchAll();
    bool columnsKnown() const;
    void setFailure(const QSqlError& e);
    bool execute(const QString& statement);
    // The row that holds the record, reading the table again when needed;
    // -1 with the reason (Failed or Gone) when there is none.
    int locate(const FlowerRecord& stored, Outcome& failure);

    QString path_;
    int busyTimeoutMs_;
    QString connection_;
    std::unique_ptr<QSqlTableModel> model_;
    int newRow_ = -1;
    QString error_;
    Cause cause_ = Cause::None;
};
