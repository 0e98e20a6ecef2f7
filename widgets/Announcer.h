#pragma once

#include <QString>
#include <QWidget>

// Tells a screen reader, unasked, what has just happened (a search's result).
// Qt 6.4 has no announcement event, and its AT-SPI bridge drops an alert;
// what screen readers speak unasked is a notification that comes into view.
// So the announcer is a notification without a look of its own: each
// announcement names it with the text and shows it anew to the screen reader
// (its "showing" state turns on), so the same text twice is spoken twice.
// The widget itself stays hidden; only its accessible side shows, and every
// step goes through AccessibleNotice, so a test hears what the bridge gets.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
    const QString& text() const { return text_; }
    // Shown to a screen reader: from the first announcement on.
    bool shownToReader() const { return shown_; }

private:
    QString text_;
    bool shown_ = false;
};
