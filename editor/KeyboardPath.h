#pragma once

#include <QString>

// The editor's fields in the order the keyboard walks them, and the three
// OK buttons the walk ends on.
enum class EditorField {
    None,
    Name,
    Code1,
    Code2,
    Code3,
    Code4,
    Code5,
    FamilyName,
    Picture,
    Description,
    OkAdd,
    OkCorrect,
    OkDelete,
};

enum class PathKey { Enter, Down, Up };

// Where Enter and the arrow keys lead from each field, so that a record can
// be typed from the name to an OK button without the mouse.
class KeyboardPath {
public:
    struct Step {
        bool handled = false;  // the key is consumed
        EditorField target = EditorField::None;  // None: stay
        bool openFamilyName = false;  // show the family-name box first
    };
    struct OkButtons {
        bool add = false;
        bool correct = false;
        bool remove = false;
    };

    static Step step(EditorField from, PathKey key, const QString& familyCode, OkButtons enabled);

    static EditorField codeBox(int box) { return EditorField(int(EditorField::Code1) + box - 1); }
    static int boxOf(EditorField f);  // 1..5 for a code box, else 0
};
