// Table KUSABANA with arbitrary contents (NULLs, numbers, blobs, invalid
// UTF-8, control characters, huge texts, odd column types and orders, a view
// in the table's place) loads without harm and within the catalogue's size.
#include "FuzzSupport.h"
#include "catalogue/CatalogueStore.h"
#include "catalogue/FlowerCatalogue.h"

#include <QFile>
#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

const char* const kSchemas[] = {
    "CREATE TABLE KUSABANA(NAMAE TEXT, KISETU TEXT, IRO TEXT, KABEN TEXT, HA TEXT, KA TEXT, KA2 TEXT,"
    " SYASIN TEXT, NOTE TEXT)",
    "CREATE TABLE KUSABANA(NAMAE, KISETU, IRO, KABEN, HA, KA, KA2, SYASIN, NOTE)",
    "CREATE TABLE KUSABANA(NAMAE TEXT UNIQUE, KISETU INTEGER, IRO REAL, KABEN BLOB, HA TEXT, KA TEXT,"
    " KA2 TEXT, SYASIN TEXT, NOTE TEXT)",
    "CREATE TABLE KUSABANA(NOTE TEXT, EXTRA TEXT, SYASIN TEXT, KA2 TEXT, KA TEXT, HA TEXT, KABEN TEXT,"
    " IRO TEXT, KISETU TEXT, NAMAE TEXT)",
    "CREATE TABLE T(NAMAE, KISETU, IRO, KABEN, HA, KA, KA2, SYASIN, NOTE);"
    " CREATE VIEW KUSABANA AS SELECT * FROM T",
};
const int kSchemaCount = int(sizeof kSchemas / sizeof kSchemas[0]);
const char* const kInserts[] = {
    "INSERT OR IGNORE INTO KUSABANA(NAMAE, KISETU, IRO, KABEN, HA, KA, KA2, SYASIN, NOTE)"
    " VALUES(?,?,?,?,?,?,?,?,?)",
    "INSERT INTO T VALUES(?,?,?,?,?,?,?,?,?)",
};

void bindField(sqlite3_stmt* st, int column, FuzzedDataProvider& in, size_t& hugeBudget)
{
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: sqlite3_bind_null(st, column); break;
    case 1: sqlite3_bind_int64(st, column, in.ConsumeIntegral<int64_t>()); break;
    case 2: sqlite3_bind_double(st, column, in.ConsumeFloatingPoint<double>()); break;
    case 3: {
        const std::string b = in.ConsumeRandomLengthString(64);
        sqlite3_bind_blob(st, column, b.data(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    case 4: {
        // A short piece repeated to a field far longer than any real one.
        const std::string piece = in.ConsumeRandomLengthString(8) + "x";
        std::string huge;
        // The budget keeps one input's table to a few tens of megabytes.
        const size_t length = std::min(hugeBudget, in.ConsumeIntegralInRange<size_t>(1, size_t(2) * 1024 * 1024));
        hugeBudget -= length;
        while (huge.size() < length)
            huge += piece;
        sqlite3_bind_text(st, column, huge.data(), int(huge.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        // Any bytes, NULs and broken UTF-8 included, stored as text.
        const std::string t = in.ConsumeRandomLengthString(200);
        sqlite3_bind_text(st, column, t.data(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

bool makeTable(const QString& path, FuzzedDataProvider& in)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    const int schema = in.ConsumeIntegralInRange(0, kSchemaCount - 1);
    bool ok = sqlite3_exec(db, kSchemas[schema], nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* st = nullptr;
    ok = ok && sqlite3_prepare_v2(db, kInserts[schema == kSchemaCount - 1 ? 1 : 0], -1, &st, nullptr) == SQLITE_OK;
    const int rows = in.ConsumeIntegralInRange(0, 600);
    size_t hugeBudget = size_t(16) * 1024 * 1024;
    for (int r = 0; ok && r < rows && in.remaining_bytes() > 0; ++r) {
        for (int c = 1; c <= 9; ++c)
            bindField(st, c, in, hugeBudget);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzSupport::scratchFolder() + "/SNH347.mdb";
    for (const char* side : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + side);
    FuzzedDataProvider in(data, size);
    if (!makeTable(path, in))
        return 0;

    FlowerCatalogue catalogue;
    int told = 0;
    const CatalogueStore::LoadResult r = CatalogueStore::load(path, catalogue, [&](const QString&) { ++told; });
    if (!r.ok)
        FuzzSupport::fail("a table with the nine columns was refused");
    if (r.loadedRows > FlowerCatalogue::kCapacity || catalogue.count() != r.loadedRows || told != r.loadedRows ||
        r.totalRows < r.loadedRows)
        FuzzSupport::fail("the catalogue's count disagrees with the load");
    for (int i = 1; i <= catalogue.count(); ++i) {
        if (catalogue.slotOfName(catalogue.slot(i).NAMAE) == 0)
            FuzzSupport::fail("a loaded name cannot be found");
    }

    QStringList damage;
    QString error;
    if (!CatalogueStore::quickCheck(path, damage, &error) || !damage.isEmpty())
        FuzzSupport::fail("a sound file fails the quick check");
    return 0;
}
