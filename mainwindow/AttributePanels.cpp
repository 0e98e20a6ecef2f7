#include "mainwindow/AttributePanels.h"

#include "mainwindow/CommandButtons.h"
#include "widgets/HelpBox.h"
#include "mainwindow/Looks.h"
#include "widgets/PrintSurface.h"
#include "mainwindow/SearchController.h"
#include "mainwindow/SearchStatus.h"
#include "session/AppContext.h"
#include "mainwindow/MainForm.h"
#include "catalogue/CategoryTables.h"
#include "widgets/ProgressBox.h"
#include "platform/Beeper.h"

using namespace AttrLook;

AttributePanels::AttributePanels(MainForm& form)
    : f_(form)
{
    for (int c = 0; c < 5; ++c)
        for (int i = 0; i < CategoryTables::valueCount(c); ++i)
            button(c, i)->setHandler([this, c, i](const PictureButton::Event& e) { handle(c, i, e); });
}

PictureButton* AttributePanels::button(int c, int i) const
{
    return f_.attr[size_t(c)][size_t(i)];
}

void AttributePanels::swap(int c, int i, int show, int hide) const
{
    button(c, i)->showLook(show);
    button(c, i)->hideLook(hide);
}

int AttributePanels::helpShift(int category, int index)
{
    if (category != 4)
        return 0;
    switch (index) {
    case 2: return 50;    // イネ科
    case 3: return 100;   // カヤツリグサ科
    case 11: return 190;  // その他
    default: return 0;
    }
}

QString AttributePanels::countText(int c, int i) const
{
    const int n = f_.app.catalogue().countWith(c, CategoryTables::storedName(c, i + 1));
    return CategoryTables::countLabel(c, i + 1) + QStringLiteral(" %1件").arg(n);
}

void AttributePanels::handle(int c, int i, const PictureButton::Event& e)
{
    using K = PictureButton::Event;
    switch (e.look) {
    case OFF:
        if (e.kind == K::Move)
            OFF_MouseMove(c, i);
        else if (e.kind == K::Up)
            OFF_MouseUp(c, i, e.button);
        break;
    case Pointed:
        if (e.kind == K::Down)
            Pointed_MouseDown(c, i, e);
        else if (e.kind == K::Up)
            Pointed_MouseUp(c, i, e);
        break;
    case ON:
        if (e.kind == K::Down)
            ON_MouseDown(c, i, e);
        else if (e.kind == K::Move)
            ON_MouseMove(c, i);
        else
            ON_MouseUp(c, i, e);
        break;
    case ON2:
        if (e.kind == K::Move)
            ON2_MouseMove(c, i);
        break;
    default:
        break;  // the pressed look has no handlers of its own
    }
}

void AttributePanels::resetPanelPointed(int c) const
{
    for (int j = 0; j < CategoryTables::valueCount(c); ++j)
        if (button(c, j)->isLookVisible(Pointed))
            swap(c, j, OFF, Pointed);
}

void AttributePanels::resetPanelSelectedPointed(int c) const
{
    for (int j = 0; j < CategoryTables::valueCount(c); ++j)
        if (button(c, j)->isLookVisible(ON))
            swap(c, j, ON2, ON);
}

void AttributePanels::printCount(int c, int i) const
{
    f_.pctKensaku->cls();
    f_.status->moveConditionStrip(0, 0);
    f_.pctKensaku->print(countText(c, i));
}

bool AttributePanels::drawingShowsProgress() const
{
    return !f_.search.DrawSuspended && f_.pctProg->isVisible();
}

void AttributePanels::OFF_MouseMove(int c, int i)
{
    f_.status->ResetHover();
    if (f_.search.DrawBusy)
        return;  // nothing to press while thumbnails are drawn
    resetPanelPointed(c);
    swap(c, i, Pointed, OFF);
    printCount(c, i);
    resetPanelSelectedPointed(c);
}

void AttributePanels::OFF_MouseUp(int, int, int button)
{
    if (button == 2)
        f_.Form1_Form_MouseUp(2);
}

void AttributePanels::showHelp(int c, int i, QPoint pos) const
{
    HelpBox* box = f_.txtKaisetu;
    const QPoint at = button(c, i)->pos() + pos + QPoint(12, 12);
    box->move(at.x() - helpShift(c, i), at.y());
    box->setText(CategoryTables::helpText(c, i + 1));
    box->raise();
    box->show();
}

void AttributePanels::Pointed_MouseDown(int c, int i, const PictureButton::Event& e)
{
    if (e.button == 2)
        showHelp(c, i, e.pos);
    else
        swap(c, i, ONON, Pointed);
}

void AttributePanels::Pointed_MouseUp(int c, int i, const PictureButton::Event& e)
{
    SearchState& s = f_.search;
    if (f_.txtKaisetu->isVisible()) {
        f_.txtKaisetu->hide();
        return;  // the release ends a help display and selects nothing
    }
    if (!button(c, i)->contains(e.pos)) {
        if (e.button != 2)
            swap(c, i, OFF, ONON);
        else
            f_.txtKaisetu->hide();
        return;
    }
    button(c, i)->showLook(e.shift == 1 ? ON2 : ON);
    button(c, i)->repaintNow();
    button(c, i)->hideLook(ONON);

    s.ListClickOff = false;
    s.AllMode = false;
    f_.commands->unlatchAllData();
    if (!s.lstHANA.isSelected(c, i))
        f_.searcher->setSelected(c, i, true);
    f_.status->ShowConditions();
    if (button(c, i)->isLookVisible(Pointed) && button(c, i)->isLookVisible(ON)) {
        button(c, i)->hideLook(Pointed);
        f_.app.platform().beeper.beep();
    }
    f_.app.SamMode = f_.app.settings().readThumbnailMode();
    if (e.shift == 1 || f_.app.SamMode == 1) {
        f_.commands->showInterruptLook();
        s.DrawRequested = true;
        f_.searcher->ApplySelection();
    }
}

void AttributePanels::ON_MouseDown(int c, int i, const PictureButton::Event& e)
{
    if (drawingShowsProgress()) {
        f_.app.platform().beeper.beep();
        return;
    }
    if (e.button == 2)
        showHelp(c, i, e.pos);
    else
        swap(c, i, ONON, ON);
}

void AttributePanels::ON_MouseMove(int c, int)
{
    resetPanelPointed(c);
}

void AttributePanels::ON_MouseUp(int c, int i, const PictureButton::Event& e)
{
    SearchState& s = f_.search;
    if (drawingShowsProgress()) {
        f_.app.platform().beeper.beep();
        return;
    }
    if (f_.txtKaisetu->isVisible()) {
        f_.txtKaisetu->hide();
        return;
    }
    if (!button(c, i)->contains(e.pos)) {
        swap(c, i, ON2, ONON);  // still selected
        return;
    }
    swap(c, i, Pointed, ONON);
    f_.searcher->setSelected(c, i, false);
    if (f_.app.SamMode != 0) {
        // The mode remembered at the last selecting click decides; Shift plays no part.
        if (s.lstHANA.any()) {
            f_.commands->showInterruptLookFromIdle();
            s.DrawRequested = true;
        }
        f_.searcher->ApplySelection();
    } else {
        printCount(c, i);
    }
}

void AttributePanels::ON2_MouseMove(int c, int i)
{
    if (f_.search.DrawBusy || f_.search.AllMode)
        return;
    f_.status->ResetHover();
    f_.status->ShowConditions();
    resetPanelPointed(c);
    resetPanelSelectedPointed(c);
    swap(c, i, ON, ON2);
    if (c == 0) {
        f_.pctMsg->cls();
        f_.pctMsg->print(f_.search.StatusMessage);
    }
}

void AttributePanels::Mirror(int c)
{
    for (int i = 0; i < CategoryTables::valueCount(c); ++i) {
        PictureButton* b = button(c, i);
        if (f_.search.lstHANA.isSelected(c, i)) {
            b->showLook(ON);
            b->repaintNow();
            b->hideLook(ONON);
        } else if (b->isLookVisible(ON)) {
            b->showLook(Pointed);
            b->repaintNow();
            b->hideLook(ON);
            b->hideLook(ON2);
        }
    }
}

void AttributePanels::dropHighlights()
{
    for (int c = 0; c < 5; ++c)
        for (int i = 0; i < CategoryTables::valueCount(c); ++i) {
            PictureButton* b = button(c, i);
            if (b->isLookVisible(Pointed))
                swap(c, i, OFF, Pointed);
            if (b->isLookVisible(ON))
                swap(c, i, ON2, ON);
        }
}

void AttributePanels::unselectAllLooks()
{
    for (int c = 0; c < 5; ++c)
        for (int i = 0; i < CategoryTables::valueCount(c); ++i)
            if (button(c, i)->isLookVisible(ON2)) {
                button(c, i)->showLook(OFF);
                button(c, i)->repaintNow();
                button(c, i)->hideLook(ON2);
                button(c, i)->hideLook(ON);
            }
}

void AttributePanels::showUnselected(int c, int i)
{
    button(c, i)->showLook(OFF);
    button(c, i)->repaintNow();
    button(c, i)->hideLook(ON);
    button(c, i)->hideLook(ON2);
}
