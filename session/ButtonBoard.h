#pragma once

#include "session/Looks.h"

#include <QObject>
#include <array>
#include <optional>

class ButtonRules;
class Selection;

// The picture buttons of the main window without their widgets: the looks
// each button shows, which button the pointer is over and which holds a
// press. A pointer event comes in through point, press or release; the board
// finds the look that takes it and hands it to the rules of the button's kind
// (PanelRules, CommandRules), which change the looks here.
//
// A press always knows its button: one that comes without a move over its
// button (the button came under a resting pointer) is handled as a move there
// first. A key takes the pointer's path through the same rules (keyPoint,
// keyClick, keyHelp); once a key's click is over, the button the real pointer
// rests on is pointed at again.
class ButtonBoard : public QObject {
    Q_OBJECT

public:
    ButtonBoard();

    void setRules(ButtonRules& attributes, ButtonRules& commands);

    // ---- looks ----------------------------------------------------------------
    const LookSet<AttributeLook>& attributeLooks(int category, int index) const;
    const LookSet<ThumbnailLook>& thumbnailLooks() const { return thumbnail_; }
    const LookSet<CommandLook>& commandLooks(ButtonId::Kind kind) const;
    // The visible looks of any button, bit n for look n.
    unsigned mask(const ButtonId& button) const;
    // True while the thumbnail button is an interrupt button.
    bool interruptShown() const;
    bool allDataLatched() const { return commandLooks(ButtonId::Kind::AllData).visible(CommandLook::Latched); }

    void show(int category, int index, AttributeLook look);
    void hide(int category, int index, AttributeLook look);
    void show(ThumbnailLook look);
    void hide(ThumbnailLook look);
    void show(ButtonId::Kind kind, CommandLook look);
    void hide(ButtonId::Kind kind, CommandLook look);

    // Every pointed-at look back to its plain look. The thumbnail button goes
    // back to its show look unless thumbnails are asked for.
    void dropHover(bool drawingRequested);
    // The buttons of a category in line with the selection: a selected one
    // shows the selected pointed-at look, one no longer selected the
    // unselected pointed-at look.
    void mirror(int category, const Selection& selection);
    // Every selected button back to the unselected look.
    void unselectAll();
    // One button shows the unselected look only.
    void showUnselected(int category, int index);

    // ---- the pointer and the keys ------------------------------------------------
    // The real pointer: point, press or release as the event's kind says.
    void pointer(const ButtonId& button, const PointerEvent& e);
    void point(const ButtonId& button, const PointerEvent& e);
    void press(const ButtonId& button, const PointerEvent& e);
    void release(const ButtonId& button, const PointerEvent& e);
    // The real pointer is over none of the buttons (the background, a
    // caption, a strip, the gallery, outside the window).
    void pointerOff();
    std::optional<ButtonId> pointerOver() const { return under_; }
    // The button last pointed at, by the pointer or by a key's focus; none
    // once the pointer has left the buttons.
    std::optional<ButtonId> pointed() const { return pointed_; }
    // Focus on a button points at it.
    void keyPoint(const ButtonId& button);
    // Space or Enter: a left click inside; with Shift, a Shift-click.
    void keyClick(const ButtonId& button, Qt::KeyboardModifiers modifiers);
    // F1 held: the right button held over the button (its help box); F1 up
    // releases it.
    void keyHelp(const ButtonId& button, bool down);

signals:
    void looksChanged(const ButtonId& button);

private:
    static constexpr int kButtons = 5 * 12 + 4;
    static int slotOf(const ButtonId& button);
    LookSet<CommandLook>& commandLooksOf(ButtonId::Kind kind);
    std::optional<int> frontLook(const ButtonId& button) const;
    void dispatch(const ButtonId& button, const PointerEvent& e);
    void pointBack(const ButtonId& keyButton);

    std::array<std::array<LookSet<AttributeLook>, 12>, 5> attributes_{};
    LookSet<ThumbnailLook> thumbnail_;
    std::array<LookSet<CommandLook>, 3> commands_{};

    ButtonRules* attributeRules_ = nullptr;
    ButtonRules* commandRules_ = nullptr;
    // Per button, the look that got the press: moves while the button is
    // held and the release go to it, wherever the pointer is.
    std::array<std::optional<int>, kButtons> held_{};
    // The button the real pointer is over, and where in it.
    std::optional<ButtonId> under_;
    QPoint underPos_;
    // The button the last move went to, by the pointer or by a key.
    std::optional<ButtonId> pointed_;
};
