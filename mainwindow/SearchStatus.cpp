#include "mainwindow/SearchStatus.h"

#include "mainwindow/AttributePanels.h"
#include "widgets/HelpBox.h"
#include "mainwindow/Looks.h"
#include "widgets/PictureButton.h"
#include "widgets/PrintSurface.h"
#include "mainwindow/SearchController.h"
#include "mainwindow/MainForm.h"
#include "catalogue/CategoryTables.h"
#include "mainwindow/Gallery.h"
#include "mainwindow/PhotoWindows.h"
#include "widgets/ProgressBox.h"

#include <cmath>

const char* const SearchStatus::kConditionPrefix = "検索条件→";
const char* const SearchStatus::kAllData = "検索条件→データ全部";

SearchStatus::SearchStatus(MainForm& form)
    : f_(form)
{
}

QString SearchStatus::conditionText() const
{
    QString text;
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < CategoryTables::valueCount(k); ++i)
            if (f_.search.lstHANA.isSelected(k, i)) {
                text += text.isEmpty() ? QString::fromUtf8(kConditionPrefix) : QStringLiteral("，");
                text += CategoryTables::storedName(k, i + 1);
            }
    return text;
}

void SearchStatus::moveConditionStrip(double left, int top)
{
    stripLeft_ = left;
    f_.pctKensaku->move(int(std::lround(left)), top);
}

void SearchStatus::ShowConditions()
{
    QString text;
    if (f_.imgAll->isLookVisible(CmdLook::on2)) {
        text = QString::fromUtf8(kAllData);
        f_.pctKensaku->cls();
    } else {
        f_.pctKensaku->cls();
        text = conditionText();
        const int w = f_.pctKensaku->textWidth(text);
        const int W = f_.pctContena->width();
        if (w >= W)
            moveConditionStrip(-((w - W) + 6), 0);  // the end shows, 6 pixels from the frame's edge
        else
            moveConditionStrip(0, 0);
    }
    f_.pctKensaku->print(text);
}

void SearchStatus::Form1_pctKensaku_MouseUp(int button, int, QPoint pos)
{
    PrintSurface* strip = f_.pctKensaku;
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > strip->width() || pos.y() > strip->height())
        return;
    const double half = f_.pctContena->width() / 2.0;  // 134.5
    if (button == 1) {
        moveConditionStrip(stripLeft_ + half, 0);
        if (stripLeft_ >= -2)
            moveConditionStrip(0, 0);
    } else if (button == 2) {
        moveConditionStrip(stripLeft_ - half, -1);
        if (f_.pctContena->width() - strip->width() >= stripLeft_)
            moveConditionStrip(0, 0);
    }
}

void SearchStatus::ResetHover()
{
    f_.panels->dropHighlights();
    PictureButton* sam = f_.imgSam;
    if (f_.search.DrawRequested) {
        if (sam->isLookVisible(SamLook::Sam0)) {
            sam->showLook(SamLook::OFF0);
            sam->hideLook(SamLook::Sam0);
        } else if (sam->isLookVisible(SamLook::Sam1)) {
            sam->showLook(SamLook::OFF1);
            sam->hideLook(SamLook::Sam1);
        }
    } else {
        sam->showLook(SamLook::OFF0);
        sam->hideLook(SamLook::Sam0);
        sam->hideLook(SamLook::OFF1);
    }
    for (PictureButton* b : {f_.imgAll, f_.imgClear, f_.imgQuit})
        if (b->isLookVisible(CmdLook::Pointed)) {
            b->showLook(CmdLook::OFF);
            b->hideLook(CmdLook::Pointed);
        }
    if (f_.txtKaisetu->isVisible())
        f_.txtKaisetu->hide();
}

void SearchStatus::ResetSearch()
{
    SearchState& s = f_.search;
    s.DrawSuspended = false;
    f_.panels->unselectAllLooks();
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < CategoryTables::valueCount(k); ++i)
            f_.searcher->setSelected(k, i, false);
    s.CategoryActive = {};
    s.lstKOUHO.clear();
    if (f_.gallery->cellsInUse() > 0)
        f_.gallery->clearCells();
    f_.pctProg->hide();
    f_.gallery->home();
    if (!f_.welcomeRunning()) {
        s.StatusMessage = QString::fromUtf8(SearchController::kPrompt);
        f_.pctMsg->cls();
        f_.pctMsg->print(s.StatusMessage);
        f_.pctMsg->show();
    }
    f_.pctKensaku->cls();
    f_.pctKensaku->show();
    f_.pctProg->hide();
    if (f_.imgAll->isLookVisible(CmdLook::on2)) {
        f_.imgAll->showLook(CmdLook::OFF);
        f_.imgAll->hideLook(CmdLook::on2);
    }
    PictureButton* sam = f_.imgSam;
    if (sam->isLookVisible(SamLook::Sam1) || sam->isLookVisible(SamLook::ONON1) || sam->isLookVisible(SamLook::OFF1)) {
        sam->showLook(SamLook::OFF0);
        for (int look : {SamLook::Sam1, SamLook::ONON1, SamLook::OFF1})
            sam->hideLook(look);
    }
}

void SearchStatus::CloseAllPhotos()
{
    f_.photos->CloseAllPhotos();
}
