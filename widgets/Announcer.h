#pragma once

#include <QString>
#include <QWidget>
#include <array>

class Notice;

// Tells a screen reader, unasked, what has just happened (a search's result).
// Qt 6.4 has no announcement event, and its AT-SPI bridge drops an alert;
// what screen readers speak unasked is a notification that comes into view.
// A screen reader reads the notification's name only when it comes to the
// event, so each announcement takes the next of a few notices in turn: a
// second announcement right after the first (a search, then the end of its
// drawing) does not rename the notice the first is still to be read from.
// The same text twice is shown anew, and so spoken twice.
class Announcer : public QWidget {
    Q_OBJECT

public:
    static constexpr int kNotices = 4;

    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
    // The last text announced.
    QString text() const;
    Notice* notice(int i) const { return notices_[size_t(i)]; }

private:
    std::array<Notice*, kNotices> notices_{};
    int last_ = kNotices - 1;
};
