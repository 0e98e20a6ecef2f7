#pragma once

#include "platform/FileDialog.h"

class QtFileDialog : public FileDialog {
public:
    QString openFile(QWidget* parent, const QString& title, const QString& folder, const QStringList& filters) override;
};
