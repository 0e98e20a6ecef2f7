#pragma once

#include "widgets/PictureButton.h"

struct MainForm;

// The five panels of attribute buttons. The rules are written once for all
// panels; what differs between them is data: the season panel reprints the
// status when a selected button is pointed at, and the family panel moves
// the help box of its long help texts to the left.
class AttributePanels {
public:
    explicit AttributePanels(MainForm& form);

    // Pointer events of button i of a category, by the look that got them.
    void handle(int category, int index, const PictureButton::Event& e);

    // Brings the buttons of a category in line with the selection.
    void Mirror(int category);
    // Pointed-at looks back to their plain looks (part of ResetHover).
    void dropHighlights();
    // Every selected button back to the unselected look (part of ResetSearch).
    void unselectAllLooks();
    // Button i shows the unselected look only.
    void showUnselected(int category, int index);

    // "春：データ数 27件": the button's count label and its record count.
    QString countText(int category, int index) const;
    // How far the help box of a button moves left of its usual place.
    static int helpShift(int category, int index);

private:
    PictureButton* button(int c, int i) const;
    void swap(int c, int i, int show, int hide) const;
    void resetPanelPointed(int c) const;
    void resetPanelSelectedPointed(int c) const;
    void printCount(int c, int i) const;
    void showHelp(int c, int i, QPoint pos) const;
    bool drawingShowsProgress() const;

    void OFF_MouseMove(int c, int i);
    void OFF_MouseUp(int c, int i, int button);
    void Pointed_MouseDown(int c, int i, const PictureButton::Event& e);
    void Pointed_MouseUp(int c, int i, const PictureButton::Event& e);
    void ON_MouseDown(int c, int i, const PictureButton::Event& e);
    void ON_MouseMove(int c, int i);
    void ON_MouseUp(int c, int i, const PictureButton::Event& e);
    void ON2_MouseMove(int c, int i);

    MainForm& f_;
};
