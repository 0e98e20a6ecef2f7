#include "editor/KeyboardPath.h"

#include "editor/CodeEntry.h"

int KeyboardPath::boxOf(EditorField f)
{
    const int i = int(f) - int(EditorField::Code1) + 1;
    return i >= 1 && i <= CodeEntry::kBoxes ? i : 0;
}

KeyboardPath::Step KeyboardPath::step(EditorField from, PathKey key, const QString& familyCode, OkButtons enabled)
{
    const bool forward = key == PathKey::Enter || key == PathKey::Down;
    auto to = [](EditorField f, bool open = false) { return Step{true, f, open}; };
    switch (from) {
    case EditorField::Name: return forward ? to(EditorField::Code1) : Step{};
    case EditorField::Code1:
    case EditorField::Code2:
    case EditorField::Code3:
    case EditorField::Code4: {
        const int box = boxOf(from);
        if (forward)
            return to(codeBox(box + 1));
        return to(box == 1 ? EditorField::Name : codeBox(box - 1));
    }
    case EditorField::Code5:
        if (!forward)
            return to(EditorField::Code4);
        if (familyCode == QLatin1String(CodeEntry::kOtherFamily))
            return to(EditorField::FamilyName, true);
        return to(EditorField::Picture);
    case EditorField::FamilyName: return forward ? to(EditorField::Picture) : to(EditorField::Code5);
    case EditorField::Picture: return forward ? to(EditorField::Description) : to(EditorField::Code5);
    case EditorField::Description:
        if (key != PathKey::Enter)
            return {};
        // Enter never starts a new line here; it goes to the OK button of the mode.
        if (enabled.add)
            return to(EditorField::OkAdd);
        if (enabled.correct)
            return to(EditorField::OkCorrect);
        if (enabled.remove)
            return to(EditorField::OkDelete);
        return Step{true, EditorField::None, false};
    default: return {};
    }
}
