#include "session/CommandRules.h"

#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"
#include "platform/Beeper.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/ButtonBoard.h"
#include "session/GalleryModel.h"
#include "session/StatusStrips.h"
#include "session/StatusTexts.h"

#include <algorithm>

using T = ThumbnailLook;
using C = CommandLook;
using Kind = ButtonId::Kind;

namespace {

bool isInterruptLook(T look)
{
    return look == T::PressedInterrupt || look == T::PointedInterrupt || look == T::IdleInterrupt;
}

}  // namespace

CommandRules::CommandRules(ButtonBoard& board, StatusStrips& strips, SearchActions& search,
                           const FlowerCatalogue& catalogue)
    : board_(board)
    , strips_(strips)
    , search_(search)
    , catalogue_(catalogue)
{
}

void CommandRules::pointer(const ButtonId& button, int look, const PointerEvent& e)
{
    if (button.kind == Kind::Thumbnail)
        thumbnailPointer(T(look), e);
    else
        commandPointer(button.kind, C(look), e);
}

void CommandRules::thumbnailPointer(T look, const PointerEvent& e)
{
    using K = PointerEvent::Kind;
    const bool k = isInterruptLook(look);
    if (look == (k ? T::IdleInterrupt : T::IdleShow)) {
        if (e.kind == K::Move)
            thumbnailIdleMoved(k);
        else if (e.kind == K::Release && e.button == Qt::RightButton)
            search_.openMenu();
    } else if (look == (k ? T::PointedInterrupt : T::PointedShow)) {
        if (e.kind == K::Move) {
            toIdle(Kind::AllData);
        } else if (e.kind == K::Press) {
            if (e.button == Qt::RightButton) {
                search_.beep();
                return;
            }
            board_.show(k ? T::PressedInterrupt : T::PressedShow);
            board_.hide(look);
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
            search_.openMenu();
        }
    } else if (look == C::Pointed) {
        if (e.kind == K::Press) {
            pressOrBeep(kind, C::Pressed, C::Pointed, e.button);
        } else if (e.kind == K::Release && e.button != Qt::RightButton) {
            if (e.inside) {
                commandReleased(kind);
            } else {  // released outside: no command
                board_.show(kind, C::Idle);
                board_.hide(kind, C::Pressed);
            }
        }
    }
}

void CommandRules::commandReleased(Kind kind)
{
    if (kind == Kind::AllData) {
        search_.showAll();
    } else if (kind == Kind::Clear) {
        search_.clear();
    } else {
        board_.show(Kind::Quit, C::Pointed);
        board_.hide(Kind::Quit, C::Pressed);
        search_.quit();
    }
}

void CommandRules::pressOrBeep(Kind kind, C pressed, C pointed, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        search_.beep();
        return;
    }
    board_.show(kind, pressed);
    board_.hide(kind, pointed);
}

void CommandRules::toIdle(Kind kind)
{
    if (board_.commandLooks(kind).visible(C::Pointed)) {
        board_.show(kind, C::Idle);
        board_.hide(kind, C::Pointed);
    }
}

void CommandRules::toIdle(T pointed, T idle)
{
    if (board_.thumbnailLooks().visible(pointed)) {
        board_.show(idle);
        board_.hide(pointed);
    }
}

// ---- show thumbnails / interrupt ------------------------------------------

void CommandRules::thumbnailIdleMoved(bool k)
{
    search_.resetHover();
    search_.showConditions();
    if (search_.hasResult()) {
        board_.show(k ? T::PointedInterrupt : T::PointedShow);
        board_.hide(k ? T::IdleInterrupt : T::IdleShow);
        toIdle(Kind::AllData);
    }
}

void CommandRules::thumbnailReleased(bool k, const PointerEvent& e)
{
    if (e.button == Qt::RightButton)
        return;
    if (!e.inside) {
        board_.show(k ? T::IdleInterrupt : T::IdleShow);
        board_.hide(k ? T::PressedInterrupt : T::PressedShow);
        return;
    }
    if (k)
        search_.interrupt();
    else
        search_.showThumbnails();
}

// ---- all data ---------------------------------------------------------------

void CommandRules::allDataIdleMoved()
{
    search_.resetHover();
    toIdle(T::PointedShow, T::IdleShow);
    toIdle(T::PointedInterrupt, T::IdleInterrupt);
    toIdle(Kind::Clear);
    if (board_.thumbnailLooks().visible(T::PointedInterrupt) || board_.thumbnailLooks().visible(T::IdleInterrupt))
        return;  // a drawing is requested
    board_.show(Kind::AllData, C::Pointed);
    board_.hide(Kind::AllData, C::Idle);
    strips_.showAtStart(StatusTexts::allDataCount(catalogue_.count()));
}

void CommandRules::allDataLatchedMoved()
{
    toIdle(T::PointedShow, T::IdleShow);
    toIdle(T::PointedInterrupt, T::IdleInterrupt);
    toIdle(Kind::Clear);
    toIdle(Kind::Quit);
    search_.resetHover();
}

// ---- clear -------------------------------------------------------------------

void CommandRules::clearIdleMoved()
{
    search_.resetHover();
    search_.showConditions();
    toIdle(Kind::AllData);
    if (search_.somethingToClear() && !board_.thumbnailLooks().visible(T::IdleInterrupt)) {
        board_.show(Kind::Clear, C::Pointed);
        board_.hide(Kind::Clear, C::Idle);
    }
}

// ---- exit --------------------------------------------------------------------

void CommandRules::quitIdleMoved()
{
    search_.resetHover();
    search_.showConditions();
    board_.show(Kind::Quit, C::Pointed);
    board_.hide(Kind::Quit, C::Idle);
    toIdle(Kind::Clear);
}
