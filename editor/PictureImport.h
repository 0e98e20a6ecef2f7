#pragma once

#include <QString>

// Turns the file chosen by the picture browse into the name the record
// stores, relative to the data folder. A file inside the data folder is
// taken by its relative name; a file elsewhere is copied into the data
// folder first, never over a different file of the same name.
class PictureImport {
public:
    struct Result {
        bool ok = false;
        QString storedName;  // when ok
        QString message;  // why not, when !ok
    };

    static Result import(const QString& chosenPath, const QString& dataFolder);

private:
    static bool sameContent(const QString& a, const QString& b);
    static bool copyInto(const QString& source, const QString& target, QString* error);
};
