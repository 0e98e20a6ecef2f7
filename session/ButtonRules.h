#pragma once

#include "session/Looks.h"

// What one kind of picture button does with a pointer event. The button
// board finds the look that takes the event (the front look, or while the
// button is held the look that took the press) and hands it over with the
// look's place in the button's stack of looks.
class ButtonRules {
public:
    virtual ~ButtonRules() = default;
    virtual void pointer(const ButtonId& button, int look, const PointerEvent& e) = 0;
};
