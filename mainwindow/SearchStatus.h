#pragma once

#include <QPoint>
#include <QString>

struct MainForm;

// The two strips along the bottom (the message strip and the condition
// strip) and the housekeeping that many handlers share: dropping highlights,
// forgetting the whole search, closing the photo windows.
class SearchStatus {
public:
    static const char* const kConditionPrefix;  // "検索条件→"
    static const char* const kAllData;          // "検索条件→データ全部"

    explicit SearchStatus(MainForm& form);

    void ShowConditions();
    void ResetHover();
    void ResetSearch();
    void CloseAllPhotos();
    void Form1_pctKensaku_MouseUp(int button, int shift, QPoint pos);

    // The condition text of the current selection ("" when nothing is selected).
    QString conditionText() const;
    // Puts the condition strip at a left edge that may lie between pixels.
    void moveConditionStrip(double left, int top);
    double conditionLeft() const { return stripLeft_; }

private:
    MainForm& f_;
    double stripLeft_ = 0;
};
