#include "catalogue/SqliteWorkLimit.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>

namespace {

// About a millisecond of work between two looks at the clock.
constexpr int kInstructionsPerCheck = 100000;

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

}  // namespace

SqliteWorkLimit::SqliteWorkLimit(const QSqlDatabase& db, int seconds)
{
    if (seconds <= 0)
        return;
    sqlite3* handle = sqliteHandle(db);
    if (!handle)
        return;
    handle_ = handle;
    limitMs_ = qint64(seconds) * 1000;
    clock_.start();
    sqlite3_progress_handler(handle, kInstructionsPerCheck, &SqliteWorkLimit::onProgress, this);
}

SqliteWorkLimit::~SqliteWorkLimit()
{
    if (handle_)
        sqlite3_progress_handler(static_cast<sqlite3*>(handle_), 0, nullptr, nullptr);
}

int SqliteWorkLimit::onProgress(void* self)
{
    auto* limit = static_cast<SqliteWorkLimit*>(self);
    if (limit->clock_.elapsed() > limit->limitMs_)
        limit->reached_ = true;
    return limit->reached_ ? 1 : 0;
}
