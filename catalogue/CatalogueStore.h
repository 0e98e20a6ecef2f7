#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class FlowerCatalogue;

// The catalogue file: an SQLite database holding table KUSABANA with the nine
// text columns of a flower record, NAMAE unique. Any SQLite file with that
// table and those columns is accepted, whoever made it.
//
// Reading never writes and never creates a file: the file is opened
// read-only. A catalogue in WAL mode that nobody has open (no log beside it)
// is read as immutable, which needs no side files and takes no locks, so a
// CD-ROM or a read-only folder works and a writable folder is left as it was;
// when read-only SQLite cannot make the side files it needs, the file is
// opened again as immutable too.
class CatalogueStore {
public:
    static const char* const kFileName;  // "SNH347.mdb"
    static const QStringList& columns();  // NAMAE, KISETU, IRO, KABEN, HA, KA, KA2, SYASIN, NOTE

    // How long a reader waits for a writer's lock before it reports the lock.
    static constexpr int kBusyTimeoutMs = 1000;
    // A KUSABANA that is not a plain table (a view, a virtual table) can make
    // up rows without end. Reading it stops after this many rows, this much
    // text, or this much time, whichever comes first; a plain table is bounded
    // by its file and is read whole.
    static constexpr int kMaxDerivedRows = 100000;
    static constexpr qint64 kMaxDerivedChars = qint64(32) * 1024 * 1024;
    static constexpr int kMaxDerivedSeconds = 3;

    // The entry limit of a column in Shift-JIS bytes (a full-width character
    // takes two); 0 for the display family and the description, which have
    // none.
    static int entryLimit(const QString& column);
    // How many characters of a column are read: as many again as its entry
    // limit allows (a margin for text written by other tools), 255 for the
    // display family and 65535 for the description. Longer texts are cut,
    // so that a table or view of huge texts cannot fill the memory.
    static int readChars(const QString& column);

    // Why a file cannot be used at all.
    enum class Failure {
        None,
        Missing,  // no file of that name
        NotAFile,  // a folder, device or pipe, or not readable
        Locked,  // another program holds a lock on it
        Sqlite,  // SQLite refused it (not a database, damaged header, ...)
        NoTable,  // no KUSABANA in it
        MissingColumns,  // KUSABANA lacks some of the nine columns
    };

    // How the reading of KUSABANA's rows ended, when the file could be used.
    enum class ReadEnd {
        Complete,  // every row was read
        Damaged,  // SQLite met a damaged part of the file and the rest is lost
        LimitReached,  // KUSABANA is not a plain table and gave too much
    };

    struct ReadResult {
        Failure failure = Failure::None;
        QString error;  // SQLite's own text, or what is missing; empty when usable
        QStringList missingColumns;  // of the nine, when the failure is MissingColumns
        QVector<FlowerRecord> rows;  // what could be read, in name order
        ReadEnd end = ReadEnd::Complete;
        QString endError;  // SQLite's own text when the end is Damaged
        bool immutable = false;  // opened without side files or locks
        int cutTexts = 0;  // fields longer than readChars(), read only so far
        bool ok() const { return failure == Failure::None; }
    };

    struct LoadResult {
        bool ok = false;  // the program can run with what was loaded
        Failure failure = Failure::None;
        QString error;  // why the file could not be read, when !ok
        QStringList missingColumns;
        ReadEnd end = ReadEnd::Complete;
        QString endError;  // SQLite's own text when the end is Damaged
        int totalRows = 0;  // rows read from the table
        int loadedRows = 0;  // rows placed in the catalogue (at most 500)
        int cutTexts = 0;  // fields read only up to readChars()
        bool truncated() const { return totalRows > loadedRows; }
    };

    // Reads KUSABANA a few rows at a time, so that the caller can show its
    // progress between steps; opening and checking the file happen at once.
    class Reading {
    public:
        explicit Reading(const QString& path);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

        bool done() const;
        // Reads at most `rows` more rows; how many were read.
        int step(int rows);
        // The name of the row read last, in the table's own order.
        QString lastName() const;
        // Reads what is left and gives the rows in name order, as read() does.
        ReadResult finish();

    private:
        struct State;
        std::unique_ptr<State> s_;
    };

    // Reads the rows, sorts them by the program's name order and fills the
    // catalogue with at most its capacity. NULL fields read as empty text.
    // onRecord is told each name as its slot is filled. When the read ends
    // early (damage, limit) the catalogue holds what was read and ok is true.
    static LoadResult load(const QString& path, FlowerCatalogue& catalogue,
                           const std::function<void(const QString&)>& onRecord = {});

    // Fills the catalogue from rows read, as load() does.
    static LoadResult fill(const ReadResult& read, FlowerCatalogue& catalogue,
                           const std::function<void(const QString&)>& onRecord = {});

    // All rows in name order (no capacity limit), and how the read went.
    static ReadResult read(const QString& path);

    // SQLite's quick_check of the whole file: its messages, none when the file
    // is sound. A file that cannot be opened gives false and the reason.
    static bool quickCheck(const QString& path, QStringList& damage, QString* error);

    // The read-only, immutable SQLite URI of a file, with every character
    // SQLite's URI syntax could misread percent-encoded.
    static QString immutableUri(const QString& path);

    // A consistent copy of the whole file as SQLite sees it now (every table,
    // whatever the journal holds) made at `to`, which must not exist; on the
    // disk when this gives true. The source is only read, as by read().
    static bool copy(const QString& from, const QString& to, QString* error);

    // Creates a new file with an empty table; refuses to touch an existing file.
    static bool createNew(const QString& path, QString* error);
    // Inserts rows in one transaction; fails as a whole (duplicate names included).
    static bool insert(const QString& path, const QVector<FlowerRecord>& rows, QString* error);
};
