#pragma once

#include "catalogue/CatalogueStore.h"
#include "catalogue/FlowerRecord.h"
#include "generators/FormSource.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

// Checks a whole catalogue against what the program and its record editor
// can handle, so that a catalogue made or changed outside the program can be
// checked before it is shipped, and against the written rules of the
// shipped catalogue (CatalogueRules). Also counts how the records spread over the
// attribute values and finds records no search can tell apart.
class CatalogueChecker {
public:
    // Whether a file of that name is in the data folder.
    using PictureExists = std::function<bool(const QString& fileName)>;

    static constexpr int kMaxRecords = 500;  // the program loads no more
    static constexpr int kRareBelow = 3;  // a value with fewer records is flagged

    enum class Fault {
        NotStoredName,  // a category field is not exactly one stored name
        EmptyName,  // NAMAE empty
        DuplicateName,  // NAMAE used by more than one record
        TooLong,  // more Shift-JIS bytes than the record editor takes
        MissingPicture,  // neither SYASIN nor a .jpg/.bmp/.gif of its base name
        EmptyField,  // KA2 (the family shown with the picture) empty
        TooManyRecords,  // more records than the program loads
        Damaged,  // the file itself is damaged or its table does not end
        BreaksRule,  // filed against a written rule of the catalogue (CatalogueRules)
        NoDescription,  // no form description of the record (catalogue/forms)
        BadDescription,  // a description outside the vocabulary, twice, of no record, or against the attributes
    };

    struct Problem {
        int row = 0;  // 1-based position in the checked list; 0 for the whole catalogue
        QString name;  // NAMAE of the record, empty for the whole catalogue
        QString field;  // column name, empty for the whole catalogue
        Fault fault = Fault::NotStoredName;
        QString what;  // readable explanation
    };

    struct ValueCount {
        int category = 0;  // 0 season .. 4 family
        int code = 0;  // 1-based code of the stored name
        QString value;  // the stored name
        int records = 0;
        bool rare = false;  // records < kRareBelow
    };

    // Records with the same text in all five attribute fields: every search
    // finds all of them or none of them.
    struct Group {
        QStringList attributes;  // KISETU, IRO, KABEN, HA, KA
        QStringList names;  // in the order of the checked list
    };

    struct Report {
        int recordCount = 0;
        QVector<Problem> problems;  // in row order, catalogue-wide ones first
        // Records filed against the written rules of the shipped catalogue
        // (CatalogueRules), in row order. Kept apart from the problems: the
        // program handles these records well, a search just files them
        // differently from their look-alikes.
        QVector<Problem> breaches;
        QVector<ValueCount> valueCounts;  // every stored name, category then code order
        QVector<Group> groups;  // of two or more records, largest first
        bool clean() const { return problems.isEmpty(); }
        bool keepsRules() const { return breaches.isEmpty(); }
    };

    explicit CatalogueChecker(PictureExists pictureExists);

    Report check(const QVector<FlowerRecord>& records) const;
    // The same, and every record must have exactly one complete form
    // description that agrees with its attributes (FormRules).
    Report check(const QVector<FlowerRecord>& records, const FormSource::Result& forms) const;

    // Reads the catalogue file and checks the file itself (SQLite's
    // quick_check and whether every row could be read) as well as its
    // records. Nothing when the file cannot be read at all; error says why.
    std::optional<Report> checkFile(const QString& path, QString* error) const;
    std::optional<Report> checkFile(const QString& path, const FormSource::Result& forms, QString* error) const;

    // The record editor's byte limit of a column, or 0 when it has none.
    static int byteLimit(const QString& field);
    static QString faultName(Fault fault);
    static QString categoryLabel(int category);  // "season", "colour", ...

private:
    std::optional<Report> checkRead(const QString& path, const FormSource::Result* forms, QString* error) const;
    static void checkFileItself(const QString& path, const CatalogueStore::ReadResult& read, Report& report);
    void checkCount(const QVector<FlowerRecord>& records, Report& report) const;
    void checkRecord(int row, const FlowerRecord& r, Report& report) const;
    static void checkRules(int row, const FlowerRecord& r, Report& report);
    static void checkLookAlikes(const QVector<FlowerRecord>& records, Report& report);
    void checkNames(const QVector<FlowerRecord>& records, Report& report) const;
    static void checkForms(const QVector<FlowerRecord>& records, const FormSource::Result& forms, Report& report);
    static void sortProblems(Report& report);
    bool pictureFound(const QString& stored) const;

    PictureExists pictureExists_;
};
