#pragma once

#include "session/ButtonRules.h"

#include <QPoint>

class ButtonBoard;
class FlowerCatalogue;
class SearchActions;
class StatusStrips;

// The five panels of attribute buttons: what a move, press or release over
// a look of a button does. The rules are written once for all panels; what
// differs between them is data: the season panel reprints the status when a
// selected button is pointed at, and the family panel moves the help box of
// its long help texts to the left.
class PanelRules : public ButtonRules {
public:
    PanelRules(ButtonBoard& board, StatusStrips& strips, SearchActions& search, const FlowerCatalogue& catalogue);

    void pointer(const ButtonId& button, int look, const PointerEvent& e) override;

    // Top-left of an attribute button in the window, six to a row.
    static QPoint buttonPos(int category, int index);
    // How far the help box of a button moves left of its usual place: the
    // family panel's long help texts would run past the panels.
    static int helpShift(int category, int index);

private:
    const LookSet<AttributeLook>& looks(int c, int i) const;
    void swap(int c, int i, AttributeLook show, AttributeLook hide);
    void resetPanelPointed(int c);
    void resetPanelSelectedPointed(int c);
    void printCount(int c, int i);
    void showHelp(int c, int i, QPoint pos);

    void idleMoved(int c, int i);
    void pointedPressed(int c, int i, const PointerEvent& e);
    void pointedReleased(int c, int i, const PointerEvent& e);
    void select(int c, int i, Qt::KeyboardModifiers modifiers);
    void selectedPointedPressed(int c, int i, const PointerEvent& e);
    void selectedPointedMoved(int c);
    void selectedPointedReleased(int c, int i, const PointerEvent& e);
    void release(int c, int i);
    void selectedMoved(int c, int i);

    ButtonBoard& board_;
    StatusStrips& strips_;
    SearchActions& search_;
    const FlowerCatalogue& catalogue_;
};
