#pragma once

#include "catalogue/FlowerCatalogue.h"
#include "mainwindow/PhotoWindow.h"
#include "pictures/PictureFiles.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <array>

class AppContext;
class BrowserSession;
class QWidget;

// The photo windows: one table slot per window, the flower's catalogue slot
// whether opened from the gallery or the history (so a flower never has two
// windows and a history entry never takes another flower's), the cascade that places new windows, the red and green
// names in the gallery, the click sound and the viewing history.
class PhotoWindows : public QObject {
    Q_OBJECT

public:
    static constexpr int kSlots = FlowerCatalogue::kSlots;
    static const char* const kNoPicture;  // "画像ファイルがありません！"
    static const char* const kContinue;  // "続けますか？（「はい」で続行，「いいえ」で終了）"
    static const char* const kQuitMemory;  // the message before ending after exhausted memory
    static const char* const kNotInCatalogue;

    PhotoWindows(AppContext& app, BrowserSession& session, QWidget* mainWindow);
    ~PhotoWindows() override;

    void PickGalleryCell(int i);
    void ShowFlowerDetail();
    void Form1_mnuHis_Click(int index);
    void CloseAllPhotos();
    void PlayClickSound();

    // Top-left of the window opened as the n-th since the cascade restarted.
    static QPoint cascadePosition(int n, int frameHeight);
    static QString captionOf(const QString& name, const QString& family);

    int OpenPhotoCount() const { return openCount_; }
    int ClosedPhotoCount() const { return closedCount_; }
    int SelectedFlower() const { return selected_; }
    PhotoWindow* window(int slot) const { return windows_.at(size_t(slot)); }
    // The frame height the cascade steps by (a title bar and borders).
    int frameHeight() const;

private:
    struct Photo {
        QImage image;
        QSize area;
        bool ok = false;
    };
    PhotoWindow* load(int slot);
    bool PlaceFlowerWindow(int slot, int k, const QString& file, int noteHeight, bool fromHistory);
    Photo photoFor(int k, const QString& file, bool fromHistory, bool* quit);
    void PlaceCascade(PhotoWindow* w);
    void Form2_Form_QueryUnload(int slot);
    void endProgram();

    void setOpenCount(int n);

    AppContext& app_;
    BrowserSession& session_;
    QWidget* window_;
    PictureFiles files_;
    std::array<QPointer<PhotoWindow>, kSlots> windows_{};
    int openCount_ = 0;
    int closedCount_ = 0;
    int selected_ = 0;
    bool justClosed_ = false;
};
