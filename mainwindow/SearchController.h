#pragma once

#include <QString>

struct MainForm;

// Runs the search whenever the selection changes, and hands the result to
// the gallery when thumbnails are wanted.
class SearchController {
public:
    explicit SearchController(MainForm& form);

    // Changes an entry's selected flag; a change raises the list's
    // selection-change handling at once, before this returns.
    void setSelected(int category, int index, bool on);

    void Form1_lstHANA_Click(int category);
    void SearchFlowers();
    void ClearCategory(int category);
    void ApplySelection();

    static const char* const kSearching;  // "検索中...少々お待ちください。"
    static const char* const kNotFound;   // "検索しましたが、条件に合う草花は見当たりませんでした。"
    static const char* const kPrompt;     // "目的の箇所をクリックしてください。"
    static QString foundMessage(int count);

private:
    MainForm& f_;
};
