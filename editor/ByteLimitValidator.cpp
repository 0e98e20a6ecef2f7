#include "editor/ByteLimitValidator.h"

#include "editor/ShiftJisText.h"

#include <QLineEdit>
#include <algorithm>

namespace {

bool breaksTheLine(QChar c)
{
    const QChar::Category k = c.category();
    return k == QChar::Other_Control || k == QChar::Separator_Line || k == QChar::Separator_Paragraph;
}

}  // namespace

ByteLimitValidator::ByteLimitValidator(int limit, QLineEdit* field)
    : QValidator(field)
    , limit_(limit)
    , accepted_(field->text())
{
    // Every change of the text, typed or set, ends with textChanged.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
}

QValidator::State ByteLimitValidator::validate(QString& input, int& pos) const
{
    input = ShiftJisText::fromLookAlikes(input);  // one character for one: pos stays
    // What the edit brought in lies between what it kept of the old text at
    // the start and at the end; a character is never split.
    const QString& before = accepted_;
    qsizetype head = 0;
    while (head < before.size() && head < input.size() && before.at(head) == input.at(head))
        ++head;
    if (head > 0 && head < input.size() && input.at(head).isLowSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < input.size() - head &&
           before.at(before.size() - 1 - tail) == input.at(input.size() - 1 - tail))
        ++tail;
    if (tail > 0 && input.at(input.size() - tail).isLowSurrogate())
        --tail;
    const QString brought = input.mid(head, input.size() - head - tail);
    if (std::any_of(brought.begin(), brought.end(), breaksTheLine)) {
        emit refused();
        return Invalid;
    }
    if (limit_ <= 0 || ShiftJisText::bytes(input) <= limit_)
        return Acceptable;
    const int room = limit_ - ShiftJisText::bytes(input.left(head) + input.right(tail));
    const QString fits = room > 0 ? ShiftJisText::cut(brought, room) : QString();
    emit refused();
    if (fits.isEmpty())
        return Invalid;
    input = input.left(head) + fits + input.right(tail);
    pos = int(head + fits.size());
    return Acceptable;
}
