#pragma once

#include "session/Looks.h"

#include <array>
#include <optional>

class BrowserSession;

// The four buttons under the panels: show thumbnails (an interrupt button
// while thumbnails are drawn), all data, clear and exit. A command runs when
// the button is released inside the look that got the press; the menu runs
// the same commands.
class CommandRules {
public:
    explicit CommandRules(BrowserSession& session);

    void pointer(ButtonId::Kind kind, const PointerEvent& e);

    void showThumbnails();
    void interrupt();
    void showAll();
    void clear();

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

    BrowserSession& s_;
    std::optional<ThumbnailLook> samPressed_;
    std::array<std::optional<CommandLook>, 3> pressed_{};
};
