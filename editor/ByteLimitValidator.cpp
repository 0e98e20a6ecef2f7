#include "editor/ByteLimitValidator.h"

#include "editor/ShiftJisText.h"

ByteLimitValidator::ByteLimitValidator(int limit, QObject* parent)
    : QValidator(parent)
    , limit_(limit)
{
}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const
{
    return ShiftJisText::bytes(input) <= limit_ ? Acceptable : Invalid;
}
