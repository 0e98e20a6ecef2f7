#pragma once

#include <QDialog>

class AppContext;
class QLabel;
class QPushButton;

// The version window: title, version, a line about the program, a notice
// and a warning, and a button that starts the desktop's system-information
// program where one is installed.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    static const char* const kUnavailable;  // "現時点ではｼｽﾃﾑ情報を使用できません"
    static const QStringList& sysInfoPrograms();

    AboutBox(AppContext& app, QWidget* parent = nullptr);

    void startSystemInfo();

    QLabel* titleLabel() const { return title_; }
    QLabel* versionLabel() const { return version_; }
    QLabel* descriptionLabel() const { return description_; }
    QPushButton* systemInfoButton() const { return sysInfo_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    AppContext& app_;
    QLabel* title_;
    QLabel* version_;
    QLabel* description_;
    QLabel* disclaimer_;
    QPushButton* ok_;
    QPushButton* sysInfo_;
};
