#pragma once

#include <QString>
#include <QWidget>

// One announcement to a screen reader: a notification without a look of its
// own, named by its text and shown to the screen reader when told (its
// "showing" state turns on). The widget itself stays hidden; only its
// accessible side shows, and every step goes through AccessibleNotice, so a
// test hears what the bridge gets.
class Notice : public QWidget {
    Q_OBJECT

public:
    explicit Notice(QWidget* parent);

    // Named by the text, then shown.
    void tell(const QString& text);
    void withdraw();
    const QString& text() const { return text_; }
    bool shownToReader() const { return shown_; }

private:
    QString text_;
    bool shown_ = false;
};
