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

CommandRules::CommandRules(ButtonBoard& board, StatusStrips& strips, BrowserSession& session)
    : board_(board)
    , strips_(strips)
    , s_(session)
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
            s_.backgroundReleased(Qt::RightButton);
    } else if (look == (k ? T::PointedInterrupt : T::PointedShow)) {
        if (e.kind == K::Move) {
            toIdle(Kind::AllData);
        } else if (e.kind == K::Press) {
            if (e.button == Qt::RightButton) {
                s_.app().platform().beeper.beep();
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
            s_.backgroundReleased(Qt::RightButton);
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
        showAll();
    } else if (kind == Kind::Clear) {
        clear();
    } else {
        board_.show(Kind::Quit, C::Pointed);
        board_.hide(Kind::Quit, C::Pressed);
        s_.quit();
    }
}

void CommandRules::pressOrBeep(Kind kind, C pressed, C pointed, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        s_.app().platform().beeper.beep();
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
    s_.ResetHover();
    s_.ShowConditions();
    if (!s_.results().isEmpty()) {
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
        interrupt();
    else
        showThumbnails();
}

void CommandRules::showThumbnails()
{
    board_.show(T::PointedInterrupt);
    for (T look : {T::PressedShow, T::PointedShow, T::IdleShow})
        board_.hide(look);
    s_.requestDrawing();
    s_.ApplySelection();
}

void CommandRules::interrupt()
{
    board_.show(T::PointedShow);
    for (T look : {T::PressedInterrupt, T::PointedInterrupt, T::IdleInterrupt})
        board_.hide(look);
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
    if (board_.thumbnailLooks().visible(T::PointedInterrupt) || board_.thumbnailLooks().visible(T::IdleInterrupt))
        return;  // a drawing is requested
    board_.show(Kind::AllData, C::Pointed);
    board_.hide(Kind::AllData, C::Idle);
    strips_.showAtStart(StatusTexts::allDataCount(s_.app().catalogue().FlowerCount()));
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
    board_.show(Kind::AllData, C::Latched);
    board_.hide(Kind::AllData, C::Pressed);
    board_.hide(Kind::AllData, C::Pointed);

    const FlowerCatalogue& cat = s_.app().catalogue();
    QStringList names;
    for (int i = 1; i <= cat.FlowerCount(); ++i)
        names << cat.slot(i).NAMAE;
    std::stable_sort(names.begin(), names.end(), NameOrder());
    s_.setResults(names);
    s_.setAllMode(true);

    board_.show(T::IdleInterrupt);
    for (T look : {T::PressedShow, T::PointedShow, T::IdleShow})
        board_.hide(look);
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
    if (somethingToClear && !board_.thumbnailLooks().visible(T::IdleInterrupt)) {
        board_.show(Kind::Clear, C::Pointed);
        board_.hide(Kind::Clear, C::Idle);
    }
}

void CommandRules::clear()
{
    board_.show(Kind::Clear, C::Idle);
    board_.hide(Kind::Clear, C::Pressed);
    board_.hide(Kind::Clear, C::Pointed);
    board_.show(T::IdleShow);
    board_.hide(T::IdleInterrupt);
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
    board_.show(Kind::Quit, C::Pointed);
    board_.hide(Kind::Quit, C::Idle);
    toIdle(Kind::Clear);
}
