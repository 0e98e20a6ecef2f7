#pragma once

#include <QString>

// Turns the file chosen by the picture browse into the name the record
// stores, relative to the data folder. A file inside the data folder is
// taken by its relative name; a file elsewhere is copied into the data
// folder first, never over a different file of the same name.
//
// A user whose catalogue is a copy of the installed one has a data folder of
// their own, looked up before the shared one (sharedFolder): a file of the
// shared folder is taken by its name too, and a copy never takes the name of
// a different shared file, which it would hide.
class PictureImport {
public:
    struct Result {
        bool ok = false;
        QString storedName;  // when ok
        QString message;  // why not, when !ok
        bool copied = false;  // the file was copied into the data folder now
    };

    static Result import(const QString& chosenPath, const QString& dataFolder, const QString& sharedFolder = QString());
    // Whether the picture lookup may take the file of the data folder
    // named fileName for a record's stored name: the same folders and the
    // same name up to its first ".", whatever the letter case, since the
    // lookup tries other extensions.
    static bool mayName(const QString& storedName, const QString& fileName);

private:
    static bool sameContent(const QString& a, const QString& b);
    static QString relativeInside(const QString& folder, const QString& file);
    static bool copyInto(const QString& source, const QString& target, QString* error);
};
