#pragma once

#include <QValidator>

// Refuses an edit that would take the field over its limit in Shift-JIS
// bytes, as a length limit of the double-byte era counts: a full-width
// character takes two, and no character is ever split.
class ByteLimitValidator : public QValidator {
    Q_OBJECT

public:
    ByteLimitValidator(int limit, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    int limit_;
};
