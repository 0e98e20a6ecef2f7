#pragma once

#include <QString>

class QWidget;

// Message boxes of the program. Every box carries the application title.
class MessageBoxes {
public:
    enum class Icon { None, Exclamation, Question, Critical, Information };
    enum class Buttons { Ok, YesNo, OkCancel, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~MessageBoxes() = default;
    // Shows the box modally and returns the answer; the first button of the
    // set (OK or Yes) is the default. A box closed without a button answers
    // No for Yes/No and Cancel where there is a Cancel.
    virtual Answer show(QWidget* parent, const QString& text, Buttons buttons, Icon icon) = 0;

    static const char* const kTitle;  // "ソノハVersion3.47"
};
