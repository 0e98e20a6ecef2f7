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
    };

    static Result import(const QString& chosenPath, const QString& dataFolder, const QString& sharedFolder = QString());

private:
    static bool sameContent(const QString& a, const QString& b);
    static QString relativeInside(const QString& folder, const QString& file);
    static bool copyInto(const QString& source, const QString& target, QString* error);
};
