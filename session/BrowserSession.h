#pragma once

#include "search/SearchEngine.h"
#include "search/Selection.h"
#include "session/ButtonBoard.h"
#include "session/History.h"
#include "session/Looks.h"
#include "session/StatusStrips.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class AppContext;
class GalleryModel;
class PanelRules;
class CommandRules;

// Everything the main window shows and decides on, without a widget: the
// selection and its result, the drawing state, the looks of every picture
// button, the texts of the two strips, the help box, the gallery and the
// history. Widgets render it from its signals and hand the user's pointer
// events and commands to it; nothing here reads a widget.
class BrowserSession : public QObject {
    Q_OBJECT

public:
    enum class DrawState {
        Idle,  // no thumbnails asked for
        Requested,  // thumbnails asked for the current result, none being drawn
        Running,  // thumbnails are being drawn
        Suspended,  // a drawing was interrupted and the next request resumes it
    };
    explicit BrowserSession(AppContext& app, QObject* parent = nullptr);
    ~BrowserSession() override;

    // ---- state --------------------------------------------------------------
    AppContext& app() { return app_; }
    const Selection& selection() const { return selection_; }
    const QStringList& results() const { return results_; }
    int primaryCategory() const { return primaryCategory_; }
    bool categoryActive(int c) const { return categoryActive_[size_t(c)]; }
    bool listClickOff() const { return listClickOff_; }

    DrawState drawState() const { return drawState_; }
    bool drawing() const { return drawState_ == DrawState::Running; }
    // A drawing that goes on from an interrupted one counts as suspended
    // until it ends: the panels and the menu treat it so.
    bool suspended() const { return drawState_ == DrawState::Suspended || (drawing() && resuming_); }
    bool interruptPending() const { return interruptPending_; }
    bool allMode() const { return allMode_; }
    int thumbnailMode() const { return thumbnailMode_; }

    ButtonBoard& buttons() { return buttons_; }
    const ButtonBoard& buttons() const { return buttons_; }

    StatusStrips& strips() { return strips_; }
    const StatusStrips& strips() const { return strips_; }

    GalleryModel& gallery() { return *gallery_; }
    const GalleryModel& gallery() const { return *gallery_; }
    History& history() { return history_; }
    const History& history() const { return history_; }
    int openPhotoCount() const { return openPhotoCount_; }

    // ---- what the views hand over ---------------------------------------------
    // The photo windows report how many are open.
    void setOpenPhotoCount(int n) { openPhotoCount_ = n; }

    // ---- commands -------------------------------------------------------------
    void pointer(const ButtonId& button, const PointerEvent& e);
    // The pointer over the window's background, a caption or the message strip.
    void pointerOverBackground();
    void pointerOverCaption();
    void pointerOverMessage();
    // A release over the background or an idle control: the right button
    // opens the menu, unless thumbnails are being drawn.
    void backgroundReleased(Qt::MouseButton button);
    // The pointer watch: outside the window, outside the thumbnails.
    void pointerLeftWindow();
    void pointerLeftThumbnails();

    void select(int category, int index);
    void release(int category, int index);
    void showThumbnails();  // also resumes an interrupted drawing
    void interrupt();
    void showAll();
    void clear();
    void quit();
    void setSelected(int category, int index, bool on);

    // ---- the keyboard ---------------------------------------------------------
    // A key takes the pointer's path through the same rules, so that a
    // keyboard user gets the same searches, counts, messages and looks.
    // Focus on a button points at it.
    void focusButton(const ButtonId& button);
    // Space or Enter: a left click inside; with Shift, a Shift-click.
    void activateButton(const ButtonId& button, Qt::KeyboardModifiers modifiers);
    // F1 held: the right button held over the button (its help box).
    void helpKeyPressed(const ButtonId& button);
    void helpKeyReleased(const ButtonId& button);
    // The Menu key or Shift+F10: a right release over the background.
    void menuKey() { backgroundReleased(Qt::RightButton); }

    // ---- what a screen reader says of a button ----------------------------------
    // The attribute's text, or what the command button does now.
    QString spokenName(const ButtonId& button) const;
    // The count text of an attribute button; empty for the others.
    QString spokenDescription(const ButtonId& button) const;
    // Attribute buttons are checked while selected.
    bool checked(const ButtonId& button) const;

    // After the catalogue was loaded.
    void catalogueLoaded();
    // After the editor read the catalogue again: the result refers to old
    // slots and goes.
    void catalogueReloaded();

    // ---- shared steps of the commands -------------------------------------------
    void setResults(const QStringList& names) { results_ = names; }
    void closeAllPhotos() { emit closePhotosRequested(); }
    void ShowConditions();
    void ResetHover();
    void ResetSearch();
    void SearchFlowers();
    void ApplySelection();

    // Drawing state changes, as the drawing and the commands make them.
    void requestDrawing();
    void drawingStarted();
    void drawingInterrupted();
    void drawingFinished();
    void askInterrupt() { interruptPending_ = true; }
    void forgetSuspension();
    void setAllMode(bool on) { allMode_ = on; }
    void setListClickOff(bool on) { listClickOff_ = on; }
    void readThumbnailMode();

signals:
    // A button was selected or released (its checked state).
    void selectionChanged(const ButtonId& button);
    void drawStateChanged();
    void menuRequested();
    void closePhotosRequested();
    void quitRequested();

private:
    void setDrawState(DrawState state, bool resuming);
    void lstHANA_Click(int category);
    void ClearCategory(int category);

    AppContext& app_;
    SearchEngine engine_;
    History history_;
    StatusStrips strips_;

    Selection selection_;
    std::array<bool, 6> categoryActive_{};
    int primaryCategory_ = 5;  // 5: none
    QStringList results_;
    bool listClickOff_ = false;

    DrawState drawState_ = DrawState::Idle;
    bool resuming_ = false;
    bool interruptPending_ = false;
    bool allMode_ = false;
    int thumbnailMode_ = 0;  // the mode the last selecting click read

    ButtonBoard buttons_;

    int openPhotoCount_ = 0;

    std::unique_ptr<GalleryModel> gallery_;
    std::unique_ptr<PanelRules> panels_;
    std::unique_ptr<CommandRules> commandRules_;
};
