#pragma once

#include "search/Selection.h"

#include <QString>
#include <QStringList>
#include <array>

// The search and drawing state shared by the panels, the strips, the
// command buttons and the gallery.
struct SearchState {
    Selection lstHANA;                      // the user's selection, per category
    std::array<bool, 6> CategoryActive{};   // 0..4 used
    int PrimaryCategory = 5;                // 5: none
    QString StatusMessage;
    QStringList lstKOUHO;                   // the result, in name order

    bool DrawBusy = false;       // thumbnails are being drawn
    bool DrawInterrupt = false;  // the running drawing is asked to stop
    bool DrawSuspended = false;  // the last drawing was interrupted and may resume
    bool DrawRequested = false;  // thumbnails were asked for the current result
    bool AllMode = false;        // the result holds the whole catalogue
    bool ListClickOff = false;   // selection changes run no search
};
