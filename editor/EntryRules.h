#pragma once

#include "catalogue/FlowerRecord.h"

#include <QString>
#include <array>

// What a record must satisfy before the editor writes it, and the texts the
// editor says about it.
class EntryRules {
public:
    static constexpr int kMaxRecords = 500;  // what the catalogue can hold

    // Entry limit of a table field in Shift-JIS bytes; 0 for none.
    static int byteLimit(const QString& column);
    // The caption the user knows the field by.
    static QString caption(const QString& column);

    // Empty ones among the eight fields the user must fill: name, picture,
    // description and the five code boxes.
    static int countEmptyFields(const std::array<QString, 8>& required);
    // Some but not all required fields empty: worth a warning.
    static bool incomplete(int emptyCount) { return emptyCount != 0 && emptyCount != 8; }

    // Why the record cannot be written (a character the history's encoding
    // cannot hold, a field over its limit), or an empty string.
    static QString problem(const FlowerRecord& record);
    // Why the picture lookup could not find a file by this stored name (a
    // "." before the extension, since the lookup cuts the name at the first
    // "."), or an empty string.
    static QString pictureNameProblem(const QString& storedName);

    static const char* const kIncomplete;  // "記入もれがあります！"
    static const char* const kDeleteQuestion;  // "を削除してよろしいですか？"
    static const char* const kMaybeRegistered;  // "すでにデータが登録されている可能性があります。"
    static QString tableFullText();
    // A read or write that met another program's lock, or a file that takes
    // no writes; SQLite's own text follows in brackets.
    static QString lockedText(const QString& sqliteText);
    static QString unwritableText(const QString& sqliteText);
    // The stored record on screen was changed or deleted by another program.
    static QString goneText();
    // Text typed while no record is on screen, which nothing would store.
    static QString noRecordText();
    // Asked before a change on screen would be dropped.
    static QString saveChangesQuestion();
    static QString unencodableText(const QString& caption, const QString& character);
    static QString tooLongText(const QString& caption, int limit);
};
