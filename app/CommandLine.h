#pragma once

#include <QString>
#include <QStringList>

// The two requests a user may make on the command line. Both are answered on
// standard output before anything else happens: no window, no display needed,
// no file of the program read or written. Every other argument is left to Qt
// (-platform, -display, ...).
class CommandLine {
public:
    enum class Request { Run, Help, Version };

    static Request parse(const QStringList& arguments);  // arguments[0] is the program
    static Request parse(int argc, const char* const* argv);

    // "ソノハ 3.47（コミット abc…）"; commit is the build's, or empty when unknown.
    static QString versionText(const QString& commit);
    static QString usageText(const QString& program);
};
