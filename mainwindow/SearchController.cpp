#include "mainwindow/SearchController.h"

#include "mainwindow/AttributePanels.h"
#include "widgets/PrintSurface.h"
#include "session/AppContext.h"
#include "mainwindow/MainForm.h"
#include "catalogue/CategoryTables.h"
#include "mainwindow/Gallery.h"
#include "widgets/ProgressBox.h"
#include "platform/BusyPointer.h"

#include <QScrollBar>

const char* const SearchController::kSearching = "検索中...少々お待ちください。";
const char* const SearchController::kNotFound = "検索しましたが、条件に合う草花は見当たりませんでした。";
const char* const SearchController::kPrompt = "目的の箇所をクリックしてください。";

SearchController::SearchController(MainForm& form)
    : f_(form)
{
}

QString SearchController::foundMessage(int count)
{
    // Numbers keep a sign position: one space before the digits.
    return QStringLiteral("検索完了！ %1個見つけました｡").arg(count);
}

void SearchController::setSelected(int category, int index, bool on)
{
    if (f_.search.lstHANA.isSelected(category, index) == on)
        return;
    f_.search.lstHANA.set(category, index, on);
    Form1_lstHANA_Click(category);
}

void SearchController::Form1_lstHANA_Click(int c)
{
    SearchState& s = f_.search;
    if (s.ListClickOff)
        return;
    if (f_.pctProg->isVisible()) {
        f_.pctProg->hide();
        f_.pctKensaku->show();
    }
    f_.panels->Mirror(c);
    s.CategoryActive[size_t(c)] = true;
    s.DrawSuspended = false;
    s.PrimaryCategory = c;
    if (f_.gallery->cellsInUse() > 0)
        f_.gallery->clearCells();
    if (s.lstHANA.anyIn(c))
        SearchFlowers();
    else
        ClearCategory(c);
    f_.gallery->home();
}

void SearchController::SearchFlowers()
{
    SearchState& s = f_.search;
    BusyPointer& busy = f_.app.platform().busy;
    busy.begin();
    s.StatusMessage = QString::fromUtf8(kSearching);
    f_.printMessage(s.StatusMessage, true);

    s.lstKOUHO = f_.engine.search(s.lstHANA, s.PrimaryCategory);

    if (!s.lstKOUHO.isEmpty())
        s.StatusMessage = foundMessage(int(s.lstKOUHO.size()));
    else if (s.lstHANA.any())
        s.StatusMessage = QString::fromUtf8(kNotFound);
    else
        s.StatusMessage = QString::fromUtf8(kPrompt);
    f_.printMessage(s.StatusMessage);
    busy.end();
}

void SearchController::ClearCategory(int c)
{
    SearchState& s = f_.search;
    s.DrawSuspended = false;
    s.CategoryActive[size_t(c)] = false;
    if (f_.gallery->cellsInUse() > 0)
        f_.gallery->clearCells();
    for (int i = 0; i < CategoryTables::valueCount(c); ++i) {
        f_.panels->showUnselected(c, i);
        setSelected(c, i, false);
    }
    s.PrimaryCategory = 5;
    for (int k = 0; k < 5; ++k)
        if (s.CategoryActive[size_t(k)]) {
            s.PrimaryCategory = k;
            break;
        }
    SearchFlowers();
}

void SearchController::ApplySelection()
{
    SearchState& s = f_.search;
    if (s.lstKOUHO.isEmpty() && !s.lstHANA.any())
        return;
    if (s.DrawBusy) {
        s.DrawInterrupt = true;
        return;
    }
    s.DrawBusy = true;
    f_.gallery->RefreshResults();
}
