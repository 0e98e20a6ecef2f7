#pragma once

#include "catalogue/FlowerCatalogue.h"
#include "mainwindow/PhotoWindow.h"
#include "pictures/PictureFiles.h"
#include "session/PhotoSet.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <array>
#include <memory>

class AppContext;
class QWidget;

// The photo windows on the screen, one per catalogue slot: the photograph
// and description of the flower the photo set names, placed at the place of
// the cascade it gives, the messages when a picture is missing, and every
// close told back to the photo set. Which windows are open is the photo
// set's to know.
class PhotoWindows : public QObject, public PhotoSet::Viewer {
    Q_OBJECT

public:
    static constexpr int kSlots = FlowerCatalogue::kSlots;
    static const char* const kNoPicture;  // "画像ファイルがありません！"
    static const char* const kContinue;  // "続けますか？（「はい」で続行，「いいえ」で終了）"
    static const char* const kQuitMemory;  // the message before ending after exhausted memory
    static const char* const kNotInCatalogue;

    PhotoWindows(AppContext& app, PhotoSet& set, QWidget* mainWindow);
    ~PhotoWindows() override;

    // Top-left of the window opened as the n-th since the cascade restarted.
    static QPoint cascadePosition(int n, int frameHeight);
    static QString captionOf(const QString& name, const QString& family);

    PhotoWindow* window(int slot) const { return windows_.at(size_t(slot)).get(); }
    // The frame height the cascade steps by (a title bar and borders).
    int frameHeight() const;

    // ---- PhotoSet::Viewer ---------------------------------------------------------
    bool place(int slot, const QString& file, int noteHeight, bool fromHistory, int cascade) override;
    void show(int slot) override;
    void raise(int slot) override;
    void close(int slot) override;
    void notInCatalogue(const QString& name) override;

private:
    struct Photo {
        QImage image;
        QSize area;
        bool ok = false;
        QString source;  // the file the image was read from
    };
    PhotoWindow* load(int slot);
    static PhotoView::Source fetchAgain(const QString& path, QSize size);
    Photo photoFor(int k, const QString& file, QSize room, bool fromHistory, bool* quit);
    void closed(int slot);
    void endProgram();

    AppContext& app_;
    PhotoSet& set_;
    QWidget* window_;
    PictureFiles files_;
    std::array<std::unique_ptr<PhotoWindow>, kSlots> windows_{};
};
