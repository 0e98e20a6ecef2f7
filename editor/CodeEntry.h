#pragma once

#include <QString>
#include <array>

// The editor's five code boxes and the category fields they fill, kept in
// step both ways. Box i (1..5) belongs to category i - 1: season, colour,
// petal type, leaf arrangement, family. A box holding a code of its category
// puts that value's stored name into the field; a field holding a stored
// name shows its code in the box; anything else empties the other side.
// The family box also copies the family name into the display family
// (KA2), except for code 12 ("その他"), whose real family the user types.
class CodeEntry {
public:
    static constexpr int kBoxes = 5;
    static const char* const kOtherFamily;  // "12"

    // Where a field's new text came from: typed by the user, or a record
    // shown by the navigator. A shown record keeps its own display family.
    enum class Origin { Typed, Shown };

    static int maxLength(int box);  // 1, 1, 2, 1, 2
    static QString helpList(int box);  // the box's codes, one line each
    // The category code the text stands for, or 0: a decimal number without
    // sign, space or leading zero, within the category's values.
    static int codeValue(int box, const QString& text);

    const QString& code(int box) const { return code_.at(size_t(box)); }
    const QString& field(int box) const { return field_.at(size_t(box)); }
    const QString& familyName() const { return familyName_; }

    void setCode(int box, const QString& text);
    void setField(int box, const QString& text, Origin origin = Origin::Typed);
    void setFamilyName(const QString& text) { familyName_ = text; }
    // Shows a record's five category fields and its display family.
    void show(const std::array<QString, 5>& fields, const QString& familyName);
    void clear();

private:
    void codeChanged(int box, Origin origin);
    void fieldChanged(int box, Origin origin);
    void assignField(int box, const QString& text, Origin origin);

    std::array<QString, kBoxes + 1> code_;  // [0] unused
    std::array<QString, kBoxes + 1> field_;  // [0] unused
    QString familyName_;
};
