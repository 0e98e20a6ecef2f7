#include "session/PanelRules.h"

#include "catalogue/CategoryTables.h"
#include "session/ButtonBoard.h"
#include "session/SearchActions.h"
#include "session/StatusStrips.h"
#include "session/StatusTexts.h"

using L = AttributeLook;

namespace {

// Shift alone: Ctrl or Alt with it make it another click.
bool shiftAlone(Qt::KeyboardModifiers m)
{
    return (m & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ShiftModifier;
}

}  // namespace

PanelRules::PanelRules(ButtonBoard& board, StatusStrips& strips, SearchActions& search,
                       const FlowerCatalogue& catalogue)
    : board_(board)
    , strips_(strips)
    , search_(search)
    , catalogue_(catalogue)
{
}

QPoint PanelRules::buttonPos(int category, int i)
{
    static const int kRowTop[5][2] = {{24, 24}, {88, 88}, {152, 184}, {248, 248}, {312, 344}};
    const bool second = i >= 6;
    return {8 + 32 * (second ? i - 6 : i), kRowTop[category][second ? 1 : 0]};
}

int PanelRules::helpShift(int category, int index)
{
    if (category != 4)
        return 0;
    switch (index) {
    case 2: return 50;  // イネ科
    case 3: return 100;  // カヤツリグサ科
    case 11: return 190;  // その他
    default: return 0;
    }
}

const LookSet<AttributeLook>& PanelRules::looks(int c, int i) const
{
    return board_.attributeLooks(c, i);
}

void PanelRules::swap(int c, int i, AttributeLook show, AttributeLook hide)
{
    board_.show(c, i, show);
    board_.hide(c, i, hide);
}

void PanelRules::pointer(const ButtonId& button, int look, const PointerEvent& e)
{
    using K = PointerEvent::Kind;
    const int c = button.category;
    const int i = button.index;
    switch (L(look)) {
    case L::Idle:
        if (e.kind == K::Move)
            idleMoved(c, i);
        else if (e.kind == K::Release && e.button == Qt::RightButton)
            search_.openMenu();
        break;
    case L::Pointed:
        if (e.kind == K::Press)
            pointedPressed(c, i, e);
        else if (e.kind == K::Release)
            pointedReleased(c, i, e);
        break;
    case L::SelectedPointed:
        if (e.kind == K::Press)
            selectedPointedPressed(c, i, e);
        else if (e.kind == K::Move)
            selectedPointedMoved(c);
        else
            selectedPointedReleased(c, i, e);
        break;
    case L::Selected:
        if (e.kind == K::Move)
            selectedMoved(c, i);
        break;
    case L::Pressed: break;  // the pressed look has no handlers of its own
    }
}

void PanelRules::resetPanelPointed(int c)
{
    for (int j = 0; j < CategoryTables::valueCount(c); ++j)
        if (looks(c, j).visible(L::Pointed))
            swap(c, j, L::Idle, L::Pointed);
}

void PanelRules::resetPanelSelectedPointed(int c)
{
    for (int j = 0; j < CategoryTables::valueCount(c); ++j)
        if (looks(c, j).visible(L::SelectedPointed))
            swap(c, j, L::Selected, L::SelectedPointed);
}

void PanelRules::printCount(int c, int i)
{
    strips_.showAtStart(StatusTexts::attributeCount(catalogue_, c, i));
}

void PanelRules::idleMoved(int c, int i)
{
    search_.resetHover();
    if (search_.drawing())
        return;  // nothing to press while thumbnails are drawn
    resetPanelPointed(c);
    swap(c, i, L::Pointed, L::Idle);
    printCount(c, i);
    resetPanelSelectedPointed(c);
}

void PanelRules::showHelp(int c, int i, QPoint pos)
{
    const QPoint at = buttonPos(c, i) + pos + QPoint(12, 12);
    strips_.showHelp(CategoryTables::helpText(c, i + 1), QPoint(at.x() - helpShift(c, i), at.y()));
}

void PanelRules::pointedPressed(int c, int i, const PointerEvent& e)
{
    if (e.button == Qt::RightButton)
        showHelp(c, i, e.pos);
    else
        swap(c, i, L::Pressed, L::Pointed);
}

void PanelRules::pointedReleased(int c, int i, const PointerEvent& e)
{
    if (strips_.helpBox().shown) {
        strips_.hideHelp();
        return;  // the release ends a help display and selects nothing
    }
    if (!e.inside) {
        if (e.button != Qt::RightButton)
            swap(c, i, L::Idle, L::Pressed);
        else
            strips_.hideHelp();
        return;
    }
    board_.show(c, i, shiftAlone(e.modifiers) ? L::Selected : L::SelectedPointed);
    board_.hide(c, i, L::Pressed);
    select(c, i, e.modifiers);
}

// A release inside an unselected button: select it and search; with Shift
// alone, or in the thumbnail mode "at once", draw the result.
void PanelRules::select(int c, int i, Qt::KeyboardModifiers modifiers)
{
    const bool atOnce = search_.select(c, i);
    if (looks(c, i).visible(L::Pointed) && looks(c, i).visible(L::SelectedPointed)) {
        board_.hide(c, i, L::Pointed);
        search_.beep();
    }
    if (shiftAlone(modifiers) || atOnce) {
        board_.show(ThumbnailLook::IdleInterrupt);
        board_.hide(ThumbnailLook::IdleShow);
        search_.requestThumbnails();
    }
}

void PanelRules::selectedPointedPressed(int c, int i, const PointerEvent& e)
{
    if (search_.drawingShowsProgress()) {
        search_.beep();
        return;
    }
    if (e.button == Qt::RightButton)
        showHelp(c, i, e.pos);
    else
        swap(c, i, L::Pressed, L::SelectedPointed);
}

void PanelRules::selectedPointedMoved(int c)
{
    resetPanelPointed(c);
}

void PanelRules::selectedPointedReleased(int c, int i, const PointerEvent& e)
{
    if (search_.drawingShowsProgress()) {
        search_.beep();
        return;
    }
    if (strips_.helpBox().shown) {
        strips_.hideHelp();
        return;
    }
    if (!e.inside) {
        swap(c, i, L::Selected, L::Pressed);  // still selected
        return;
    }
    swap(c, i, L::Pointed, L::Pressed);
    release(c, i);
}

// A release inside a selected button: release it and search again. The
// thumbnail mode remembered at the last selecting click decides whether the
// result is drawn again; Shift plays no part.
void PanelRules::release(int c, int i)
{
    if (!search_.deselect(c, i)) {
        printCount(c, i);  // it now describes the button under the pointer
        return;
    }
    if (search_.anySelected()) {
        board_.show(ThumbnailLook::IdleInterrupt);
        for (ThumbnailLook l : {ThumbnailLook::PressedShow, ThumbnailLook::PointedShow, ThumbnailLook::IdleShow})
            board_.hide(l);
        search_.requestThumbnails();
    } else {
        search_.drawResult();
    }
}

void PanelRules::selectedMoved(int c, int i)
{
    if (search_.drawing() || search_.allMode())
        return;
    search_.resetHover();
    search_.showConditions();
    resetPanelPointed(c);
    resetPanelSelectedPointed(c);
    swap(c, i, L::SelectedPointed, L::Selected);
    if (c == 0) {
        // The season panel shows the status even while the welcome line runs.
        strips_.printNow(strips_.status());
    }
}
