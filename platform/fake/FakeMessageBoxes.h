#pragma once

#include "platform/MessageBoxes.h"

#include <QList>
#include <QStringList>

// Records every box shown and answers from a script; an unscripted box gets
// the default answer (OK or Yes).
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
    };

    Answer show(QWidget*, const QString& text, Buttons buttons, Icon icon) override
    {
        shown.append({text, buttons, icon});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }

    QStringList texts() const
    {
        QStringList t;
        for (const Shown& s : shown)
            t << s.text;
        return t;
    }

    QList<Answer> answers;
    QList<Shown> shown;
};
