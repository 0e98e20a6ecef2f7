#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

// Keeps a one-line field within its limit in Shift-JIS bytes, as a length
// limit of the double-byte era counts: a full-width character takes two,
// and no character is ever split. What an edit brings in beyond the limit
// (a long paste, say) is cut off at a character boundary, and the text
// around it stays; an edit that brings a control character or a line break
// is refused. The JIS look-alikes that input methods produce are turned into
// the characters the encoding holds. A cut or a refusal is announced by
// refused(), for a beep.
class ByteLimitValidator : public QValidator {
    Q_OBJECT

public:
    // limit 0: no limit, the other rules only.
    ByteLimitValidator(int limit, QLineEdit* field);
    State validate(QString& input, int& pos) const override;

signals:
    void refused() const;

private:
    int limit_;
    QString accepted_;  // the field's text before the edit being validated
};
