#include "mainwindow/CommandButtons.h"

#include "mainwindow/Looks.h"
#include "widgets/PrintSurface.h"
#include "mainwindow/SearchController.h"
#include "mainwindow/SearchStatus.h"
#include "session/AppContext.h"
#include "mainwindow/MainForm.h"
#include "catalogue/NameOrder.h"
#include "mainwindow/Gallery.h"
#include "mainwindow/PhotoWindows.h"
#include "platform/Beeper.h"

#include <QWidget>
#include <algorithm>

CommandButtons::CommandButtons(MainForm& form)
    : f_(form)
{
    f_.imgSam->setHandler([this](const PictureButton::Event& e) {
        using namespace SamLook;
        const int k = (e.look == ONON1 || e.look == Sam1 || e.look == OFF1) ? 1 : 0;
        handleSam(k, e);
    });
    f_.imgAll->setHandler([this](const PictureButton::Event& e) {
        if (e.look == CmdLook::on2 && e.kind == PictureButton::Event::Move)
            Form1_imgAllon2_MouseMove();  // the latched look never highlights
        else
            handleCommand(f_.imgAll, e, &CommandButtons::Form1_imgAllOFF_MouseMove,
                          &CommandButtons::Form1_imgAll_MouseUp);
    });
    f_.imgClear->setHandler([this](const PictureButton::Event& e) {
        handleCommand(f_.imgClear, e, &CommandButtons::Form1_imgClearOFF_MouseMove,
                      &CommandButtons::Form1_imgClear_MouseUp);
    });
    f_.imgQuit->setHandler([this](const PictureButton::Event& e) {
        handleCommand(f_.imgQuit, e, &CommandButtons::Form1_imgQuitOFF_MouseMove,
                      &CommandButtons::Form1_imgQuit_MouseUp);
    });
}

// All-data, clear and exit: the idle look highlights on pointing and opens
// the menu on a right release; the pointed look is pressed and released.
void CommandButtons::handleCommand(PictureButton* b, const PictureButton::Event& e, void (CommandButtons::*idleMove)(),
                                   void (CommandButtons::*releaseHandler)(int, int, QPoint))
{
    using K = PictureButton::Event;
    if (e.look == CmdLook::OFF) {
        if (e.kind == K::Move)
            (this->*idleMove)();
        else if (e.kind == K::Up && e.button == 2)
            f_.Form1_Form_MouseUp(2);
    } else if (e.look == CmdLook::Pointed) {
        if (e.kind == K::Down) {
            pressOrBeep(b, CmdLook::ONON, CmdLook::Pointed, e.button);
        } else if (e.kind == K::Up && e.button != 2) {
            if (b->contains(e.pos)) {
                (this->*releaseHandler)(e.button, e.shift, e.pos);
            } else {  // released outside: no command
                b->showLook(CmdLook::OFF);
                b->hideLook(CmdLook::ONON);
            }
        }
    }
}

QString CommandButtons::allDataCountText(int count)
{
    return QStringLiteral("全サムネイル：データ数 %1件").arg(count);
}

void CommandButtons::pressOrBeep(PictureButton* b, int pressed, int pointed, int button, bool repaintNow)
{
    if (button == 2) {
        f_.app.platform().beeper.beep();
        return;
    }
    b->showLook(pressed);
    if (repaintNow)
        b->repaintNow();
    b->hideLook(pointed);
}

void CommandButtons::toIdle(PictureButton* b, int pointed, int idle)
{
    if (b->isLookVisible(pointed)) {
        b->showLook(idle);
        b->hideLook(pointed);
    }
}

// ---- show thumbnails / interrupt ------------------------------------------

void CommandButtons::handleSam(int k, const PictureButton::Event& e)
{
    using K = PictureButton::Event;
    using namespace SamLook;
    if (e.look == OFF(k)) {
        if (e.kind == K::Move)
            Form1_imgSamOFF_MouseMove(k);
        else if (e.kind == K::Up && e.button == 2)
            f_.Form1_Form_MouseUp(2);
    } else if (e.look == Sam(k)) {
        if (e.kind == K::Move)
            toIdle(f_.imgAll, CmdLook::Pointed, CmdLook::OFF);
        else if (e.kind == K::Down)
            pressOrBeep(f_.imgSam, ONON(k), Sam(k), e.button, true);
        else
            Form1_imgSam_MouseUp(k, e.button, e.shift, e.pos);
    }
}

void CommandButtons::Form1_imgSamOFF_MouseMove(int k)
{
    using namespace SamLook;
    f_.status->ResetHover();
    f_.status->ShowConditions();
    if (!f_.search.lstKOUHO.isEmpty()) {
        f_.imgSam->showLook(Sam(k));
        f_.imgSam->hideLook(OFF(k));
        toIdle(f_.imgAll, CmdLook::Pointed, CmdLook::OFF);
    }
}

void CommandButtons::Form1_imgSam_MouseUp(int k, int button, int, QPoint pos)
{
    using namespace SamLook;
    PictureButton* b = f_.imgSam;
    if (button == 2)
        return;
    if (!b->contains(pos)) {
        b->showLook(OFF(k));
        b->repaintNow();
        b->hideLook(ONON(k));
        return;
    }
    if (k == 0) {
        b->showLook(Sam1);
        b->repaintNow();
        for (int look : {ONON0, Sam0, OFF0})
            b->hideLook(look);
        f_.search.DrawRequested = true;
    } else {
        b->showLook(Sam0);
        b->repaintNow();
        for (int look : {ONON1, Sam1, OFF1})
            b->hideLook(look);
        f_.search.DrawInterrupt = true;
    }
    f_.searcher->ApplySelection();
}

void CommandButtons::showInterruptLook()
{
    f_.imgSam->showLook(SamLook::OFF1);
    f_.imgSam->repaintNow();
    f_.imgSam->hideLook(SamLook::OFF0);
}

void CommandButtons::showInterruptLookFromIdle()
{
    using namespace SamLook;
    f_.imgSam->showLook(OFF1);
    f_.imgSam->repaintNow();
    for (int look : {ONON0, Sam0, OFF0})
        f_.imgSam->hideLook(look);
}

// ---- all data ---------------------------------------------------------------

void CommandButtons::Form1_imgAllOFF_MouseMove()
{
    using namespace SamLook;
    f_.status->ResetHover();
    toIdle(f_.imgSam, Sam0, OFF0);
    toIdle(f_.imgSam, Sam1, OFF1);
    toIdle(f_.imgClear, CmdLook::Pointed, CmdLook::OFF);
    if (f_.imgSam->isLookVisible(Sam1) || f_.imgSam->isLookVisible(OFF1))
        return;  // a drawing is requested
    f_.imgAll->showLook(CmdLook::Pointed);
    f_.imgAll->hideLook(CmdLook::OFF);
    f_.pctKensaku->cls();
    f_.status->moveConditionStrip(0, 0);
    f_.pctKensaku->print(allDataCountText(f_.app.catalogue().FlowerCount()));
}

void CommandButtons::restoreIdleHighlights()
{
    using namespace SamLook;
    toIdle(f_.imgSam, Sam0, OFF0);
    toIdle(f_.imgSam, Sam1, OFF1);
    toIdle(f_.imgClear, CmdLook::Pointed, CmdLook::OFF);
    toIdle(f_.imgQuit, CmdLook::Pointed, CmdLook::OFF);
}

void CommandButtons::Form1_imgAllon2_MouseMove()
{
    restoreIdleHighlights();
    f_.status->ResetHover();
}

void CommandButtons::Form1_imgAll_MouseUp(int, int, QPoint)
{
    using namespace SamLook;
    PictureButton* b = f_.imgAll;
    f_.status->ResetSearch();
    b->showLook(CmdLook::on2);
    b->repaintNow();
    b->hideLook(CmdLook::ONON);
    b->hideLook(CmdLook::Pointed);

    const FlowerCatalogue& cat = f_.app.catalogue();
    QStringList names;
    for (int i = 1; i <= cat.FlowerCount(); ++i)
        names << cat.slot(i).NAMAE;
    std::stable_sort(names.begin(), names.end(), NameOrder());
    f_.search.lstKOUHO = names;
    f_.search.AllMode = true;

    f_.imgSam->showLook(OFF1);
    f_.imgSam->repaintNow();
    for (int look : {ONON0, Sam0, OFF0})
        f_.imgSam->hideLook(look);
    f_.search.DrawRequested = true;
    f_.searcher->ApplySelection();
}

void CommandButtons::unlatchAllData()
{
    if (f_.imgAll->isLookVisible(CmdLook::on2)) {
        f_.imgAll->showLook(CmdLook::OFF);
        f_.imgAll->hideLook(CmdLook::on2);
    }
}

// ---- clear -------------------------------------------------------------------

void CommandButtons::Form1_imgClearOFF_MouseMove()
{
    f_.status->ResetHover();
    f_.status->ShowConditions();
    toIdle(f_.imgAll, CmdLook::Pointed, CmdLook::OFF);
    const bool somethingToClear =
        f_.photos->OpenPhotoCount() > 0 || !f_.search.lstKOUHO.isEmpty() || f_.search.lstHANA.any();
    if (somethingToClear && !f_.imgSam->isLookVisible(SamLook::OFF1)) {
        f_.imgClear->showLook(CmdLook::Pointed);
        f_.imgClear->hideLook(CmdLook::OFF);
    }
}

void CommandButtons::Form1_imgClear_MouseUp(int, int, QPoint)
{
    PictureButton* b = f_.imgClear;
    b->showLook(CmdLook::OFF);
    b->hideLook(CmdLook::ONON);
    b->hideLook(CmdLook::Pointed);
    f_.imgSam->showLook(SamLook::OFF0);
    f_.imgSam->repaintNow();
    f_.imgSam->hideLook(SamLook::OFF1);
    f_.search.ListClickOff = true;  // the reset's deselections run no search
    f_.status->CloseAllPhotos();
    f_.gallery->lstHyouji.clear();
    f_.status->ResetSearch();
    f_.search.AllMode = false;
}

// ---- exit --------------------------------------------------------------------

void CommandButtons::Form1_imgQuitOFF_MouseMove()
{
    f_.status->ResetHover();
    f_.status->ShowConditions();
    f_.imgQuit->showLook(CmdLook::Pointed);
    f_.imgQuit->hideLook(CmdLook::OFF);
    toIdle(f_.imgClear, CmdLook::Pointed, CmdLook::OFF);
}

void CommandButtons::Form1_imgQuit_MouseUp(int, int, QPoint)
{
    PictureButton* b = f_.imgQuit;
    b->showLook(CmdLook::Pointed);
    b->repaintNow();
    b->hideLook(CmdLook::ONON);
    f_.window->close();
}
