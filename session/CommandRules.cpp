#include "session/CommandRules.h"

#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"
#include "platform/Beeper.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/GalleryModel.h"

#include <algorithm>

using T = ThumbnailLook;
using C = CommandLook;
using Kind = ButtonId::Kind;

namespace {

int slotOf(Kind kind)
{
    return kind == Kind::AllData ? 0 : kind == Kind::Clear ? 1 : 2;
}

bool isInterruptLook(T look)
{
    return look == T::PressedInterrupt || look == T::PointedInterrupt || look == T::IdleInterrupt;
}

}  // namespace

CommandRules::CommandRules(BrowserSession& session)
    : s_(session)
{
}

// A press is captured by the look that got it; moves while a button is held
// and the release go to that look wherever the pointer is.
void CommandRules::pointer(Kind kind, const PointerEvent& e)
{
    using K = PointerEvent::Kind;
    if (kind == Kind::Thumbnail) {
        std::optional<T> look = samPressed_ ? samPressed_ : s_.thumbnailLooks().front();
        if (e.kind == K::Press) {
            if (samPressed_ || e.button == Qt::NoButton)
                return;
            samPressed_ = look;
        } else if (e.kind == K::Release) {
            samPressed_.reset();
        }
        if (look)
            thumbnailPointer(*look, e);
        return;
    }
    std::optional<C>& pressed = pressed_[size_t(slotOf(kind))];
    std::optional<C> look = pressed ? pressed : s_.commandLooks(kind).front();
    if (e.kind == K::Press) {
        if (pressed || e.button == Qt::NoButton)
            return;
        pressed = look;
    } else if (e.kind == K::Release) {
        pressed.reset();
    }
    if (look)
        commandPointer(kind, *look, e);
}

void CommandRules::thumbnailPointer(T look, const PointerEvent& e)
{
    using K = PointerEvent::Kind;
    const bool k = isInterruptLook(look);
    if (look == (k ? T::IdleInterrupt : T::IdleShow)) {
        if (e.kind == K::Move)
            thumbnailIdleMoved(k);
        else if (e.kind == K::Release && e.button == Qt::RightButton)
            s_.backgroundReleased(Qt::RightButton);
    } else if (look == (k ? T::PointedInterrupt : T::PointedShow)) {
        if (e.kind == K::Move) {
            toIdle(Kind::AllData);
        } else if (e.kind == K::Press) {
            if (e.button == Qt::RightButton) {
                s_.app().platform().beeper.beep();
                return;
            }
            s_.showLook(k ? T::PressedInterrupt : T::PressedShow);
            s_.hideLook(look);
        } else {
            thumbnailReleased(k, e);
        }
    }
}

void CommandRules::commandPointer(Kind kind, C look, const PointerEvent& e)
{
    using K = PointerEvent::Kind;
    if (kind == Kind::AllData && look == C::Latched) {
        if (e.kind == K::Move)
            allDataLatchedMoved();  // the latched look never highlights
        return;
    }
    if (look == C::Idle) {
        if (e.kind == K::Move) {
            if (kind == Kind::AllData)
                allDataIdleMoved();
            else if (kind == Kind::Clear)
                clearIdleMoved();
            else
                quitIdleMoved();
        } else if (e.kind == K::Release && e.button == Qt::RightButton) {
            s_.backgroundReleased(Qt::RightButton);
        }
    } else if (look == C::Pointed) {
        if (e.kind == K::Press) {
            pressOrBeep(kind, C::Pressed, C::Pointed, e.button);
        } else if (e.kind == K::Release && e.button != Qt::RightButton) {
            if (e.inside) {
                commandReleased(kind);
            } else {  // released outside: no command
                s_.showLook(kind, C::Idle);
                s_.hideLook(kind, C::Pressed);
            }
        }
    }
}

void CommandRules::commandReleased(Kind kind)
{
    if (kind == Kind::AllData) {
        showAll();
    } else if (kind == Kind::Clear) {
        clear();
    } else {
        s_.showLook(Kind::Quit, C::Pointed);
        s_.hideLook(Kind::Quit, C::Pressed);
        s_.quit();
    }
}

void CommandRules::pressOrBeep(Kind kind, C pressed, C pointed, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        s_.app().platform().beeper.beep();
        return;
    }
    s_.showLook(kind, pressed);
    s_.hideLook(kind, pointed);
}

void CommandRules::toIdle(Kind kind)
{
    if (s_.commandLooks(kind).visible(C::Pointed)) {
        s_.showLook(kind, C::Idle);
        s_.hideLook(kind, C::Pointed);
    }
}

void CommandRules::toIdle(T pointed, T idle)
{
    if (s_.thumbnailLooks().visible(pointed)) {
        s_.showLook(idle);
        s_.hideLook(pointed);
    }
}

// ---- show thumbnails / interrupt ------------------------------------------

void CommandRules::thumbnailIdleMoved(bool k)
{
    s_.ResetHover();
    s_.ShowConditions();
    if (!s_.results().isEmpty()) {
        s_.showLook(k ? T::PointedInterrupt : T::PointedShow);
        s_.hideLook(k ? T::IdleInterrupt : T::IdleShow);
        toIdle(Kind::AllData);
    }
}

void CommandRules::thumbnailReleased(bool k, const PointerEvent& e)
{
    if (e.button == Qt::RightButton)
        return;
    if (!e.inside) {
        s_.showLook(k ? T::IdleInterrupt : T::IdleShow);
        s_.hideLook(k ? T::PressedInterrupt : T::PressedShow);
        return;
    }
    if (k)
        interrupt();
    else
        showThumbnails();
}

void CommandRules::showThumbnails()
{
    s_.showLook(T::PointedInterrupt);
    for (T look : {T::PressedShow, T::PointedShow, T::IdleShow})
        s_.hideLook(look);
    s_.requestDrawing();
    s_.ApplySelection();
}

void CommandRules::interrupt()
{
    s_.showLook(T::PointedShow);
    for (T look : {T::PressedInterrupt, T::PointedInterrupt, T::IdleInterrupt})
        s_.hideLook(look);
    s_.askInterrupt();
    s_.ApplySelection();
}

// ---- all data ---------------------------------------------------------------

void CommandRules::allDataIdleMoved()
{
    s_.ResetHover();
    toIdle(T::PointedShow, T::IdleShow);
    toIdle(T::PointedInterrupt, T::IdleInterrupt);
    toIdle(Kind::Clear);
    if (s_.thumbnailLooks().visible(T::PointedInterrupt) || s_.thumbnailLooks().visible(T::IdleInterrupt))
        return;  // a drawing is requested
    s_.showLook(Kind::AllData, C::Pointed);
    s_.hideLook(Kind::AllData, C::Idle);
    s_.moveConditionStrip(0, 0);
    s_.printCondition(BrowserSession::allDataCountText(s_.app().catalogue().FlowerCount()));
}

void CommandRules::allDataLatchedMoved()
{
    toIdle(T::PointedShow, T::IdleShow);
    toIdle(T::PointedInterrupt, T::IdleInterrupt);
    toIdle(Kind::Clear);
    toIdle(Kind::Quit);
    s_.ResetHover();
}

void CommandRules::showAll()
{
    s_.ResetSearch();
    s_.showLook(Kind::AllData, C::Latched);
    s_.hideLook(Kind::AllData, C::Pressed);
    s_.hideLook(Kind::AllData, C::Pointed);

    const FlowerCatalogue& cat = s_.app().catalogue();
    QStringList names;
    for (int i = 1; i <= cat.FlowerCount(); ++i)
        names << cat.slot(i).NAMAE;
    std::stable_sort(names.begin(), names.end(), NameOrder());
    s_.setResults(names);
    s_.setAllMode(true);

    s_.showLook(T::IdleInterrupt);
    for (T look : {T::PressedShow, T::PointedShow, T::IdleShow})
        s_.hideLook(look);
    s_.requestDrawing();
    s_.ApplySelection();
}

// ---- clear -------------------------------------------------------------------

void CommandRules::clearIdleMoved()
{
    s_.ResetHover();
    s_.ShowConditions();
    toIdle(Kind::AllData);
    const bool somethingToClear = s_.openPhotoCount() > 0 || !s_.results().isEmpty() || s_.selection().any();
    if (somethingToClear && !s_.thumbnailLooks().visible(T::IdleInterrupt)) {
        s_.showLook(Kind::Clear, C::Pointed);
        s_.hideLook(Kind::Clear, C::Idle);
    }
}

void CommandRules::clear()
{
    s_.showLook(Kind::Clear, C::Idle);
    s_.hideLook(Kind::Clear, C::Pressed);
    s_.hideLook(Kind::Clear, C::Pointed);
    s_.showLook(T::IdleShow);
    s_.hideLook(T::IdleInterrupt);
    s_.setListClickOff(true);  // the reset's deselections run no search
    s_.closeAllPhotos();
    s_.gallery().forgetShownNames();
    s_.ResetSearch();
    s_.setAllMode(false);
}

// ---- exit --------------------------------------------------------------------

void CommandRules::quitIdleMoved()
{
    s_.ResetHover();
    s_.ShowConditions();
    s_.showLook(Kind::Quit, C::Pointed);
    s_.hideLook(Kind::Quit, C::Idle);
    toIdle(Kind::Clear);
}
