#pragma once

#include "pictures/PictureFiles.h"

#include <QObject>
#include <QString>
#include <map>

class AppContext;

// The photo windows without their widgets: which flower each open window
// shows (one window per catalogue slot, whether opened from the gallery or
// the history), which of them the gallery opened (its names show red there),
// where the next window goes in the cascade, the gallery's toggle and the
// click sound. A viewer puts the windows on the screen and tells back when
// one closes, by whatever means.
class PhotoSet : public QObject {
    Q_OBJECT

public:
    // What shows the windows: the main window's photo windows, or a test's fake.
    class Viewer {
    public:
        virtual ~Viewer() = default;
        // Fills the window of a catalogue slot with the flower's photograph
        // (file: a stored name, or the one the gallery resolved), its texts
        // and a description box of the given height, and moves it to place
        // n of the cascade. False when the user chose to end the program
        // instead.
        virtual bool place(int slot, const QString& file, int noteHeight, bool fromHistory, int cascade) = 0;
        virtual void show(int slot) = 0;
        // Brings an open window to the front.
        virtual void raise(int slot) = 0;
        virtual void close(int slot) = 0;
        // A history entry names a flower the catalogue no longer holds.
        virtual void notInCatalogue(const QString& name) = 0;
    };
    enum class Pick { Opened, Closed, Nothing };

    explicit PhotoSet(AppContext& app);

    void setViewer(Viewer* viewer) { viewer_ = viewer; }

    int openCount() const { return int(open_.size()); }
    // Windows closed since the cascade last started again at the top left.
    int closedCount() const { return closedCount_; }
    bool isOpen(int slot) const { return open_.count(slot) > 0; }
    // The flower's window was opened from the gallery and is open: its name
    // shows red there, and a click on it closes the window.
    bool shownInGallery(const QString& name) const;

    // A click on a name in the gallery: closes the flower's window when the
    // gallery shows it red, and opens it otherwise.
    Pick pickFromGallery(int slot);
    // A history entry: brings the flower's window to the front, or opens it.
    void openFromHistory(const QString& name);
    // Every window closed; the cascade starts again at the top left.
    void closeAll();
    // Told by the viewer: the window of a slot closed.
    void closed(int slot);

    // The sound chosen in the settings ("なし" stops any sound).
    void playClickSound();

signals:
    void windowClosed(const QString& name);
    // No window of the gallery's flowers is open: every name there is green
    // and can be clicked.
    void galleryNamesReleased();

private:
    struct Window {
        QString name;
        bool fromGallery = false;
    };
    bool open(int slot, bool fromGallery);
    bool anyFromGallery() const;

    AppContext& app_;
    PictureFiles files_;
    Viewer* viewer_ = nullptr;
    std::map<int, Window> open_;  // by catalogue slot
    int closedCount_ = 0;
    bool justClosed_ = false;
};
