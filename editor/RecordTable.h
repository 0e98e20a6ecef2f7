#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
#include <memory>

class QSqlTableModel;

// The editor's view of table KUSABANA: a QSqlTableModel over its own
// connection, holding at most one pending change (a changed row, a started
// new row or a row marked for deletion). Every write is one transaction, so
// a refused or failed write leaves the table as it was, and the rollback
// journal with full synchronisation keeps the file whole across a crash.
class RecordTable {
public:
    enum class Outcome {
        Nothing,  // no pending change, or a new row left empty
        Written,
        Full,  // a new row while the table holds its maximum already
        Failed,  // the database refused; error() has its own text
    };

    explicit RecordTable(QString path);
    ~RecordTable();
    RecordTable(const RecordTable&) = delete;
    RecordTable& operator=(const RecordTable&) = delete;

    bool open();
    const QString& error() const { return error_; }
    QSqlTableModel* model() const { return model_.get(); }
    int column(const QString& name) const;

    // Re-reads the whole table, dropping any pending change.
    bool refresh();
    int rowCount() const;
    FlowerRecord recordAt(int row) const;

    // Starts a new row at the end and returns its number.
    int startNew();
    bool isNewRow(int row) const { return row >= 0 && row == newRow_; }
    bool hasPending() const;
    // Writes the pending change in one transaction; on failure the change
    // stays pending, so the record stays on screen.
    Outcome writePending();
    // Deletes a row in one transaction (any other pending change is dropped).
    Outcome remove(int row);
    void abandonPending();

    // Rows in the table itself, pending changes aside; -1 on failure.
    int storedRows() const;

private:
    Outcome submit();
    void fetchAll();

    QString path_;
    QString connection_;
    std::unique_ptr<QSqlTableModel> model_;
    int newRow_ = -1;
    QString error_;
};
