#pragma once

#include "pictures/PictureFiles.h"
#include "pictures/ThumbnailPrefetch.h"
#include "catalogue/FlowerRecord.h"

#include <QImage>
#include <QStringList>
#include <QVector>
#include <memory>

struct MainForm;

// The thumbnail gallery: the matches of the result list are copied into a
// table and drawn one by one into the 16 cells, with a percentage bar; the
// drawing lets the user act between thumbnails, can be interrupted and
// resumed, and the scroll bar pages the table through the cells.
class Gallery {
public:
    static constexpr int kTableSize = 501;
    static constexpr int kRowPitch = 109;
    static constexpr int kPage = 436;

    explicit Gallery(MainForm& form);
    ~Gallery();

    void RefreshResults();
    void ShowThumbnails();
    // slot: the catalogue slot the entry came from, 0 for the page redraw
    // (which does not look for other extensions).
    void DrawCell(int cell, int entry, int slot);
    void ColourNameLabels();

    // Cells in use: the gallery holds drawn entries.
    int cellsInUse() const { return DrawnCount; }
    // Empties the 16 cells (cell 15 down to 0) and the count of cells in use.
    void clearCells();
    // The field back at its home position with no scroll range.
    void home();

    // Scrolling and picking.
    void Form1_VScroll1_Change();
    void Form1_VScroll1_Scroll();
    void Form1_lblNAMAE_MouseMove(int i);
    void Form1_pctFIELD_MouseMove();
    void Form1_lblNAMAE_MouseDown(int i);
    void Form1_lblNAMAE_MouseUp(int i);

    // The status line of a running drawing: "サムネイルを表示中... 残りN/M枚。"
    static QString progressText(int remaining, int total);
    static QString interruptedText(int drawn, int total);
    static QString doneText(int total);
    // The name label's tooltip: attributes, and the real family for その他.
    static QString tooltipOf(const FlowerRecord& r);
    // The range tip while the scroll thumb is dragged ("" when the page is empty).
    QString rangeTip(int value) const;

    int DrawnCount = 0;
    int DrawnRows = 0;
    int SavedDrawnCount = 0;
    int SavedDrawnRows = 0;
    QVector<FlowerRecord> entries;  // the gallery table, 501 entries
    QStringList lstHyouji;          // names whose photo window is open

    const PictureFiles& files() const { return files_; }

private:
    void interrupt(int i, double step, int total);
    void setRangeAtStop(int total);
    QImage thumbnailFor(const QString& stored, const QString& slotStored, bool fallBackToOtherExtensions);
    void connectCells();
    void resetScroll();
    void prefetchDrawing();
    void prefetchPage(int firstEntry);

    MainForm& f_;
    PictureFiles files_;
    QImage noFile_;
    QImage lastPicture_;  // what the work surface holds
    std::unique_ptr<ThumbnailPrefetch> prefetch_;
};
