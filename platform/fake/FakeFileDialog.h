#pragma once

#include "platform/FileDialog.h"

#include <QList>

// Answers the file-open dialog from a script (an empty answer is a cancel)
// and records how it was asked.
class FakeFileDialog : public FileDialog {
public:
    struct Asked {
        QString title;
        QString folder;
        QStringList filters;
    };

    QString openFile(QWidget*, const QString& title, const QString& folder, const QStringList& filters) override
    {
        asked.append({title, folder, filters});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QList<Asked> asked;
};
