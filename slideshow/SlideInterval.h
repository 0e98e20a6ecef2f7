#pragma once

#include <QChar>
#include <QString>
#include <optional>

// The rules of the interval box: which typed characters it takes, which
// texts it accepts as a new interval, and the timer interval of a setting.
class SlideInterval {
public:
    static constexpr int kMaxChars = 2;
    static constexpr int kDefaultSeconds = 3;

    // Digits and control characters (backspace, Enter) pass; every other
    // printable character is dropped.
    static bool keeps(QChar typed);
    // The seconds of an accepted text: one or two digits, not starting with
    // "0". Anything else (empty, "0", "07", or non-digits that came in by
    // pasting) is refused.
    static std::optional<int> accept(const QString& text);
    // Milliseconds for a number of seconds read from the settings; a value
    // outside 1..99 would stop the show or race it, so it counts as the
    // default.
    static int timerMs(int seconds);
};
