#pragma once

#include "catalogue/FlowerCatalogue.h"
#include "catalogue/FlowerRecord.h"
#include "pictures/PictureFiles.h"
#include "pictures/PictureLoader.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <array>
#include <functional>
#include <memory>

class PhotoSet;
class ThumbnailPrefetch;

// The thumbnail gallery without its widgets: the table the matches are
// copied into, the 16 cells with their pictures, names and colours, the
// scroll range, and the drawing that fills them. The drawing advances one
// position of the result list per pass of the event loop, so the user can
// scroll, open photo windows or interrupt between two thumbnails. It reports
// its progress and its end by signals; what they mean for the strips and the
// buttons is the session's business.
class GalleryModel : public QObject {
    Q_OBJECT

public:
    static constexpr int kTableSize = FlowerCatalogue::kSlots;
    static constexpr int kCells = 16;
    static constexpr int kRowPitch = 109;
    static constexpr int kPage = 436;

    enum class NameColour { Green, Yellow, Red };  // closed, pointed at, photo window open
    struct Cell {
        bool pictureShown = false;
        bool pictureEnabled = false;
        QImage picture;
        bool labelShown = false;
        bool labelEnabled = false;
        QString caption;
        QString tooltip;
        // A near miss: the one choice the flower does not meet, first in the
        // tooltip and the cell's description for a screen reader.
        QString note;
        NameColour colour = NameColour::Green;
        bool pressed = false;  // drawn one pixel in while the button is down
    };

    // The names of flowers whose window the gallery opened show red.
    GalleryModel(const FlowerCatalogue& catalogue, PictureFiles files, const PhotoSet& photos);
    ~GalleryModel() override;

    // The name label's tooltip: attributes, and the real family for その他.
    // A name that the label cannot show whole comes first, on a line of its own.
    static QString tooltipOf(const FlowerRecord& r, bool nameFits = true);
    // Whether a name fits its label; told by the view, which knows the font.
    void setNameFits(std::function<bool(const QString&)> fits) { nameFits_ = std::move(fits); }
    // The range tip while the scroll thumb is dragged ("" when the page is empty).
    QString rangeTip(int value) const;

    const Cell& cell(int i) const { return cells_[size_t(i)]; }
    int cellsInUse() const { return drawnCount_; }
    int drawnCount() const { return drawnCount_; }
    int drawnRows() const { return drawnRows_; }
    const FlowerRecord& entry(int e) const { return entries_[e]; }
    int scrollMaximum() const { return scrollMax_; }
    int scrollValue() const { return scrollValue_; }
    const PictureFiles& files() const { return files_; }

    // ---- the drawing ----------------------------------------------------------
    // Draws the names afresh: the table and the cells are emptied first.
    // notes: a note for the cells of a name (near misses), none by default.
    void draw(const QStringList& names, QHash<QString, QString> notes = {});
    // Goes on with an interrupted drawing where it stopped, nothing cleared.
    void resume();
    // A running drawing stops at its next position; asked while none runs,
    // the next drawing stops before its first.
    void interrupt() { interruptPending_ = true; }
    bool interruptPending() const { return interruptPending_; }
    bool drawing() const { return running_; }
    // Empties the 16 cells (cell 15 down to 0) and the count of cells in use.
    void clearCells();
    // No scroll range, the first page.
    void home();
    // At the end of the program: the read-ahead drops its work at once.
    void stopReadAhead();
    bool readAheadStopped() const;

    // ---- the user -------------------------------------------------------------
    // The page that starts at the row of the scroll value.
    void scrolledTo(int value);
    // A green name turns yellow while pointed at; the one pointed at before
    // turns green again.
    void pointOnCell(int i);
    void cellPressed(int i);
    void cellReleased(int i);
    void dropNameHighlight();

    // ---- photo windows ----------------------------------------------------------
    // The first cell of the name turns red; false when the page shows no
    // such cell.
    bool markOpened(const QString& name);
    void markClosed(const QString& name);
    // Every name green and usable again.
    void resetNameColours();

signals:
    void cellChanged(int i);
    void scrollChanged();
    // A list position is being drawn; the bar stands at percent.
    void drawingProgress(double percent);
    // A thumbnail was drawn (or only stored, past the 16 cells).
    void thumbnailDrawn(int remaining, int total);
    void drawingInterrupted(int drawn, int total, double percent);
    void drawingFinished(int total);

private:
    void start();
    void step();
    void drawPosition(int i);
    void finish();
    void stop(int i);
    void drawCell(int cell, int entry, int slot);
    void colourNameLabels();
    QImage thumbnailFor(const QString& stored, const QString& slotStored, bool fallBackToOtherExtensions);
    PictureLoader::Result decodedThumbnail(const QString& path, bool fallBackToOtherExtensions);
    void keepShown(const QString& path, const QImage& image);
    int visibleCells() const;
    void setScrollMaximum(int max);
    void setColour(int i, NameColour colour);
    void changed(int i) { emit cellChanged(i); }
    void prefetchDrawing();
    void prefetchPage(int firstEntry);
    bool picturesAtHand(int position);
    void pictureDecoded(const QString& path);

    const FlowerCatalogue& catalogue_;
    const PhotoSet& photos_;
    PictureFiles files_;
    std::function<bool(const QString&)> nameFits_;
    std::array<Cell, kCells> cells_{};
    QVector<FlowerRecord> entries_;
    int drawnCount_ = 0;
    int drawnRows_ = 0;
    int savedDrawnCount_ = 0;
    int savedDrawnRows_ = 0;
    int scrollMax_ = 0;
    int scrollValue_ = 0;

    // The drawing in progress: the names it draws, the next list position,
    // the list length it started with and the bar's step per position.
    QStringList names_;
    QHash<QString, QString> notes_;
    bool running_ = false;
    bool interruptPending_ = false;
    QTimer stepper_;
    int position_ = 0;
    int total_ = 0;
    double percentStep_ = 0;

    // The catalogue slots of each name, in slot order, for the drawing's
    // name lookups (a catalogue made elsewhere may repeat a name).
    QHash<QString, QVector<int>> slotsByName_;

    // The thumbnails this result has shown, so that a page seen before is
    // drawn again without decoding; bounded in bytes (cost in KiB) and
    // dropped with the result.
    static constexpr int kPageCacheKiB = 4096;
    QCache<QString, QImage> shown_{kPageCacheKiB};

    QString awaited_;  // the picture a worker decodes for the next position
    QImage lastPicture_;  // what the work surface holds
    std::unique_ptr<ThumbnailPrefetch> prefetch_;
};
