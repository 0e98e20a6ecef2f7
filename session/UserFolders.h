#pragma once

#include "pictures/PictureFiles.h"

#include <QString>

// Where the program's files are, and where the user's own files go.
//
// The program's read-only files (catalogue, pictures, sounds, cursors, help
// page) lie in the application folder: beside the program in a
// self-contained folder such as build/app/, or in ../share/sonoha/ beside
// the bin/ folder of an installed program.
//
// The user's files are the settings file and the catalogue the editor
// writes. They stay in the application folder while it is the program's own
// folder and writable. Otherwise (installed, or on a read-only medium) they
// live apart, in the folders of the XDG base directories:
//   $XDG_CONFIG_HOME/sonoha/SNH347.snh  the settings and the history;
//   $XDG_DATA_HOME/sonoha/SNH347.mdb    the user's copy of the catalogue,
//       made once, when the editor offers it; from then on the one read and
//       edited. Pictures the user adds go to data/ beside it, which is
//       looked up before the shared data folder.
class UserFolders {
public:
    struct Environment {
        QString configHome;  // $XDG_CONFIG_HOME, or ~/.config
        QString dataHome;  // $XDG_DATA_HOME, or ~/.local/share
        // From the process's environment. A value that is not an absolute
        // path is ignored, as the XDG rules say.
        static Environment fromProcess();
    };

    static const char* const kFolderName;  // "sonoha"

    // The folders of the program started from programDir, the folder of its
    // executable.
    static UserFolders forProgram(const QString& programDir, const Environment& env);
    // The application folder appPath that also takes the user's files.
    static UserFolders inOneFolder(const QString& appPath);
    // The application folder appPath, the user's files apart from it.
    static UserFolders withUserFilesApart(const QString& appPath, const Environment& env);

    // Where a program in programDir finds its read-only files: programDir
    // itself when it holds the catalogue or nothing else does, otherwise
    // ../share/sonoha/ of an installed program (the install's own relative
    // path from its bin folder). Ends in "/".
    static QString applicationFolder(const QString& programDir);
    // A folder the program may write: a writable folder on a writable medium.
    static bool writableFolder(const QString& path);

    const QString& appPath() const { return appPath_; }  // ends in "/"
    bool apart() const { return !userFolder_.isEmpty(); }

    QString settingsPath() const { return settingsPath_; }
    // Makes the folder of the settings file when it is missing.
    bool makeSettingsFolder() const;

    QString sharedCatalogue() const;
    // The user's copy, when the user's files are apart: may not exist yet.
    QString userCatalogue() const;
    bool hasUserCatalogue() const;
    // The catalogue to read and edit: the user's copy once it exists.
    QString cataloguePath() const;
    // Whether the editor should offer to make the user's copy first.
    bool offersCatalogueCopy() const { return apart() && !hasUserCatalogue(); }
    // Makes the user's copy of the shared catalogue, with its data/ folder;
    // never replaces an existing copy. False and the reason on failure.
    bool copyCatalogue(QString* error) const;

    // The folder the editor puts the pictures a user adds into.
    QString pictureFolder() const;
    // The picture lookup: the user's data/ first when the files are apart.
    PictureFiles pictures() const;

private:
    UserFolders(QString appPath, QString settingsPath, QString userFolder);

    QString appPath_;
    QString settingsPath_;
    QString userFolder_;  // $XDG_DATA_HOME/sonoha/ when apart, else empty
};
