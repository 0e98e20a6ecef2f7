#pragma once

#include <QElapsedTimer>

class QSqlDatabase;

// Stops the statements of one SQLite connection once they have worked longer
// than a limit: SQLite then ends the running statement with "interrupted".
// A view can compute for ever before it yields its first row (an endless
// recursion under ORDER BY or count(*)), which no row limit can catch.
//
// Qt's driver hands out the connection's handle but offers no such limit, so
// the limit sets SQLite's progress handler on it; the program links the same
// system SQLite library that Debian's Qt driver uses. A connection that is
// not SQLite's gets no time limit and available() is false.
class SqliteWorkLimit {
public:
    // seconds <= 0: no limit.
    SqliteWorkLimit(const QSqlDatabase& db, int seconds);
    ~SqliteWorkLimit();
    SqliteWorkLimit(const SqliteWorkLimit&) = delete;
    SqliteWorkLimit& operator=(const SqliteWorkLimit&) = delete;

    bool available() const { return handle_ != nullptr; }
    // True once the limit has stopped a statement.
    bool reached() const { return reached_; }

private:
    static int onProgress(void* self);

    void* handle_ = nullptr;
    QElapsedTimer clock_;
    qint64 limitMs_ = 0;
    bool reached_ = false;
};
