#include "session/ButtonBoard.h"

#include "catalogue/CategoryTables.h"
#include "search/Selection.h"
#include "session/ButtonRules.h"

using L = AttributeLook;
using T = ThumbnailLook;
using Kind = ButtonId::Kind;

namespace {

// Where a key "points" inside a button: its middle, so that a help box opens
// where a pointer resting on the button would open it.
const QPoint kKeyPoint(16, 16);

PointerEvent keyEvent(PointerEvent::Kind kind, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {})
{
    return PointerEvent{kind, button, modifiers, kKeyPoint, true};
}

}  // namespace

ButtonBoard::ButtonBoard()
{
    for (int c = 0; c < 5; ++c)
        for (int i = 0; i < CategoryTables::valueCount(c); ++i)
            attributes_[size_t(c)][size_t(i)].show(L::Idle);
    thumbnail_.show(T::IdleShow);
    for (auto& looks : commands_)
        looks.show(CommandLook::Idle);
}

void ButtonBoard::setRules(ButtonRules& attributes, ButtonRules& commands)
{
    attributeRules_ = &attributes;
    commandRules_ = &commands;
}

// ---- looks -----------------------------------------------------------------------

const LookSet<AttributeLook>& ButtonBoard::attributeLooks(int c, int i) const
{
    return attributes_[size_t(c)][size_t(i)];
}

const LookSet<CommandLook>& ButtonBoard::commandLooks(Kind kind) const
{
    return const_cast<ButtonBoard*>(this)->commandLooksOf(kind);
}

LookSet<CommandLook>& ButtonBoard::commandLooksOf(Kind kind)
{
    switch (kind) {
    case Kind::AllData: return commands_[0];
    case Kind::Clear: return commands_[1];
    default: return commands_[2];
    }
}

unsigned ButtonBoard::mask(const ButtonId& id) const
{
    switch (id.kind) {
    case Kind::Attribute: return attributeLooks(id.category, id.index).mask();
    case Kind::Thumbnail: return thumbnail_.mask();
    default: return commandLooks(id.kind).mask();
    }
}

std::optional<int> ButtonBoard::frontLook(const ButtonId& id) const
{
    switch (id.kind) {
    case Kind::Attribute:
        if (auto f = attributeLooks(id.category, id.index).front())
            return int(*f);
        return std::nullopt;
    case Kind::Thumbnail:
        if (auto f = thumbnail_.front())
            return int(*f);
        return std::nullopt;
    default:
        if (auto f = commandLooks(id.kind).front())
            return int(*f);
        return std::nullopt;
    }
}

bool ButtonBoard::interruptShown() const
{
    return thumbnail_.visible(T::PointedInterrupt) || thumbnail_.visible(T::PressedInterrupt) ||
           thumbnail_.visible(T::IdleInterrupt);
}

void ButtonBoard::show(int c, int i, AttributeLook l)
{
    if (attributes_[size_t(c)][size_t(i)].show(l))
        emit looksChanged({Kind::Attribute, c, i});
}

void ButtonBoard::hide(int c, int i, AttributeLook l)
{
    if (attributes_[size_t(c)][size_t(i)].hide(l))
        emit looksChanged({Kind::Attribute, c, i});
}

void ButtonBoard::show(ThumbnailLook l)
{
    if (thumbnail_.show(l))
        emit looksChanged({Kind::Thumbnail});
}

void ButtonBoard::hide(ThumbnailLook l)
{
    if (thumbnail_.hide(l))
        emit looksChanged({Kind::Thumbnail});
}

void ButtonBoard::show(Kind kind, CommandLook l)
{
    if (commandLooksOf(kind).show(l))
        emit looksChanged({kind});
}

void ButtonBoard::hide(Kind kind, CommandLook l)
{
    if (commandLooksOf(kind).hide(l))
        emit looksChanged({kind});
}

void ButtonBoard::dropHover(bool drawingRequested)
{
    for (int c = 0; c < 5; ++c)
        for (int i = 0; i < CategoryTables::valueCount(c); ++i) {
            if (attributeLooks(c, i).visible(L::Pointed)) {
                show(c, i, L::Idle);
                hide(c, i, L::Pointed);
            }
            if (attributeLooks(c, i).visible(L::SelectedPointed)) {
                show(c, i, L::Selected);
                hide(c, i, L::SelectedPointed);
            }
        }
    if (drawingRequested) {
        if (thumbnail_.visible(T::PointedShow)) {
            show(T::IdleShow);
            hide(T::PointedShow);
        } else if (thumbnail_.visible(T::PointedInterrupt)) {
            show(T::IdleInterrupt);
            hide(T::PointedInterrupt);
        }
    } else {
        show(T::IdleShow);
        hide(T::PointedShow);
        hide(T::IdleInterrupt);
    }
    for (Kind k : {Kind::AllData, Kind::Clear, Kind::Quit})
        if (commandLooks(k).visible(CommandLook::Pointed)) {
            show(k, CommandLook::Idle);
            hide(k, CommandLook::Pointed);
        }
}

void ButtonBoard::mirror(int c, const Selection& selection)
{
    for (int i = 0; i < CategoryTables::valueCount(c); ++i) {
        if (selection.isSelected(c, i)) {
            show(c, i, L::SelectedPointed);
            hide(c, i, L::Pressed);
        } else if (attributeLooks(c, i).visible(L::SelectedPointed)) {
            show(c, i, L::Pointed);
            hide(c, i, L::SelectedPointed);
            hide(c, i, L::Selected);
        }
    }
}

void ButtonBoard::unselectAll()
{
    for (int c = 0; c < 5; ++c)
        for (int i = 0; i < CategoryTables::valueCount(c); ++i)
            if (attributeLooks(c, i).visible(L::Selected)) {
                show(c, i, L::Idle);
                hide(c, i, L::Selected);
                hide(c, i, L::SelectedPointed);
            }
}

void ButtonBoard::showUnselected(int c, int i)
{
    show(c, i, L::Idle);
    hide(c, i, L::SelectedPointed);
    hide(c, i, L::Selected);
}

// ---- the pointer and the keys ------------------------------------------------------

int ButtonBoard::slotOf(const ButtonId& id)
{
    switch (id.kind) {
    case Kind::Attribute: return id.category * 12 + id.index;
    case Kind::Thumbnail: return 60;
    case Kind::AllData: return 61;
    case Kind::Clear: return 62;
    case Kind::Quit: return 63;
    }
    return 0;
}

void ButtonBoard::pointer(const ButtonId& id, const PointerEvent& e)
{
    switch (e.kind) {
    case PointerEvent::Kind::Move: point(id, e); break;
    case PointerEvent::Kind::Press: press(id, e); break;
    case PointerEvent::Kind::Release: release(id, e); break;
    }
}

void ButtonBoard::point(const ButtonId& id, const PointerEvent& e)
{
    under_ = id;
    underPos_ = e.pos;
    pointed_ = id;
    dispatch(id, e);
}

void ButtonBoard::press(const ButtonId& id, const PointerEvent& e)
{
    // The looks may still be those of another button's pointing: a key
    // pointed elsewhere, or the button came under a resting pointer.
    if (pointed_ != id)
        point(id, PointerEvent{PointerEvent::Kind::Move, Qt::NoButton, e.modifiers, e.pos, e.inside});
    dispatch(id, e);
}

void ButtonBoard::release(const ButtonId& id, const PointerEvent& e)
{
    dispatch(id, e);
}

void ButtonBoard::pointerOff()
{
    under_.reset();
    pointed_.reset();
}

// A press is captured by the look that got it; moves while a button is held
// and the release go to that look wherever the pointer is.
void ButtonBoard::dispatch(const ButtonId& id, const PointerEvent& e)
{
    std::optional<int>& held = held_[size_t(slotOf(id))];
    const std::optional<int> look = held ? held : frontLook(id);
    if (e.kind == PointerEvent::Kind::Press) {
        if (held || e.button == Qt::NoButton)
            return;  // a second button while one is held goes to the same capture
        held = look;
    } else if (e.kind == PointerEvent::Kind::Release) {
        held.reset();
    }
    ButtonRules* rules = id.kind == Kind::Attribute ? attributeRules_ : commandRules_;
    if (look && rules)
        rules->pointer(id, *look, e);
}

void ButtonBoard::keyPoint(const ButtonId& id)
{
    pointed_ = id;
    dispatch(id, keyEvent(PointerEvent::Kind::Move, Qt::NoButton));
}

void ButtonBoard::keyClick(const ButtonId& id, Qt::KeyboardModifiers modifiers)
{
    // Shift-click is Shift alone; the keypad flag of Enter is no modifier.
    modifiers &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    keyPoint(id);
    dispatch(id, keyEvent(PointerEvent::Kind::Press, Qt::LeftButton, modifiers));
    dispatch(id, keyEvent(PointerEvent::Kind::Release, Qt::LeftButton, modifiers));
    pointBack(id);
}

void ButtonBoard::keyHelp(const ButtonId& id, bool down)
{
    if (down) {
        keyPoint(id);
        dispatch(id, keyEvent(PointerEvent::Kind::Press, Qt::RightButton));
    } else {
        dispatch(id, keyEvent(PointerEvent::Kind::Release, Qt::RightButton));
        pointBack(id);
    }
}

// After a key's click the looks show what the real pointer points at again,
// so that a press there finds the look it expects. A focus alone keeps the
// key's pointing: its count text is what a keyboard user moved there for.
void ButtonBoard::pointBack(const ButtonId& keyButton)
{
    if (!under_ || *under_ == keyButton)
        return;
    pointed_ = under_;
    dispatch(*under_, PointerEvent{PointerEvent::Kind::Move, Qt::NoButton, {}, underPos_, true});
}
