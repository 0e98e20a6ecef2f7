#pragma once

#include <QString>

class MessageBoxes;
class SettingsFile;

// Tells the user, once a run, that a setting or the history could not be
// stored: the first write of the settings file that fails shows a message
// naming the file; later failures of the same run say nothing more.
class UnsavedSettingsNotice {
public:
    UnsavedSettingsNotice(SettingsFile& file, MessageBoxes& boxes);
    ~UnsavedSettingsNotice();
    UnsavedSettingsNotice(const UnsavedSettingsNotice&) = delete;
    UnsavedSettingsNotice& operator=(const UnsavedSettingsNotice&) = delete;

    static QString text(const QString& path);
    bool shown() const { return shown_; }

private:
    void writeFailed();

    SettingsFile& file_;
    MessageBoxes& boxes_;
    bool shown_ = false;
};
