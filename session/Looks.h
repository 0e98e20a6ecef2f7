#pragma once

#include <QPoint>
#include <Qt>
#include <optional>

// The looks of the picture buttons, front to back: while two are visible for
// a moment, the one listed first is in front, shows and gets the pointer.
enum class AttributeLook { Pressed, Selected, SelectedPointed, Pointed, Idle };
// The thumbnail button shows thumbnails (Show) or, while they are drawn,
// interrupts them (Interrupt).
enum class ThumbnailLook { PressedInterrupt, PressedShow, PointedInterrupt, PointedShow, IdleInterrupt, IdleShow };
// All data, clear and exit; Latched is the all-data button held down.
enum class CommandLook { Pressed, Latched, Pointed, Idle };

// Which looks of one button are visible. A button with none is hidden, and
// the window beneath it gets the pointer.
template <class Look>
class LookSet {
public:
    bool visible(Look l) const { return bits_ & bit(l); }
    bool show(Look l) { return change(bits_ | bit(l)); }
    bool hide(Look l) { return change(bits_ & ~bit(l)); }
    std::optional<Look> front() const
    {
        for (int i = 0; i < 8; ++i)
            if (bits_ & (1u << i))
                return Look(i);
        return std::nullopt;
    }
    unsigned mask() const { return bits_; }

private:
    static unsigned bit(Look l) { return 1u << unsigned(l); }
    bool change(unsigned to)
    {
        const bool changed = to != bits_;
        bits_ = to;
        return changed;
    }
    unsigned bits_ = 0;
};

// One picture button of the main window.
struct ButtonId {
    enum class Kind { Attribute, Thumbnail, AllData, Clear, Quit };
    Kind kind = Kind::Attribute;
    int category = 0;  // attribute buttons only
    int index = 0;
    friend bool operator==(const ButtonId&, const ButtonId&) = default;
};

// A pointer event over a button or a gallery cell, as the view saw it.
struct PointerEvent {
    enum class Kind { Move, Press, Release };
    Kind kind = Kind::Move;
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers modifiers;
    QPoint pos;  // relative to the button's top-left corner
    bool inside = true;  // the position lies in the button, edges included
};
