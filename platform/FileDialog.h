#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The file-open dialog.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Shows the dialog modally; the chosen file's full path, or an empty
    // string when the user cancelled. filters are entries like "JPEG (*.jpg)".
    virtual QString openFile(QWidget* parent, const QString& title, const QString& folder,
                             const QStringList& filters) = 0;
};
