#pragma once

#include "session/ButtonRules.h"

class ButtonBoard;
class FlowerCatalogue;
class SearchActions;
class StatusStrips;

// The four buttons under the panels: show thumbnails (an interrupt button
// while thumbnails are drawn), all data, clear and exit. What a move, press
// or release over a look does; a command runs when the button is released
// inside the look that got the press, and is the search's own (the menu runs
// the same commands).
class CommandRules : public ButtonRules {
public:
    CommandRules(ButtonBoard& board, StatusStrips& strips, SearchActions& search, const FlowerCatalogue& catalogue);

    void pointer(const ButtonId& button, int look, const PointerEvent& e) override;

private:
    void thumbnailPointer(ThumbnailLook look, const PointerEvent& e);
    void commandPointer(ButtonId::Kind kind, CommandLook look, const PointerEvent& e);
    void thumbnailReleased(bool interruptLook, const PointerEvent& e);
    void commandReleased(ButtonId::Kind kind);
    void pressOrBeep(ButtonId::Kind kind, CommandLook pressed, CommandLook pointed, Qt::MouseButton button);
    void toIdle(ButtonId::Kind kind);
    void toIdle(ThumbnailLook pointed, ThumbnailLook idle);

    void thumbnailIdleMoved(bool interruptLook);
    void allDataIdleMoved();
    void allDataLatchedMoved();
    void clearIdleMoved();
    void quitIdleMoved();

    ButtonBoard& board_;
    StatusStrips& strips_;
    SearchActions& search_;
    const FlowerCatalogue& catalogue_;
};
