#pragma once

#include "search/SearchEngine.h"
#include "search/Selection.h"
#include "session/ButtonBoard.h"
#include "session/CommandRules.h"
#include "session/GalleryModel.h"
#include "session/History.h"
#include "session/Looks.h"
#include "session/PanelRules.h"
#include "session/PhotoSet.h"
#include "session/SearchActions.h"
#include "session/StatusStrips.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class AppContext;

// The main window without a widget: the selection and its result, the
// drawing state, and the owners of the rest, each widget-free: the picture
// buttons (ButtonBoard, with PanelRules and CommandRules deciding what a
// pointer event does), the strips and the help box (StatusStrips), the
// gallery (GalleryModel), the photo windows (PhotoSet) and the history. Widgets render them from their
// signals and hand the user's pointer events and commands over; nothing here
// reads a widget.
//
// The rules of the buttons see the session only as SearchActions: the
// search's state they decide on and the search's steps they run.
class BrowserSession : public QObject, private SearchActions {
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
    const Selection& selection() const { return selection_; }
    const QStringList& results() const { return results_; }
    int primaryCategory() const { return primaryCategory_; }
    bool listClickOff() const { return listClickOff_; }

    DrawState drawState() const { return drawState_; }
    bool drawing() const override { return drawState_ == DrawState::Running; }
    // A drawing that goes on from an interrupted one counts as suspended
    // until it ends: the panels and the menu treat it so.
    bool suspended() const { return drawState_ == DrawState::Suspended || (drawing() && resuming_); }
    bool interruptPending() const { return gallery_.interruptPending(); }
    bool allMode() const override { return allMode_; }
    // The gallery shows the near misses of a search that found nothing,
    // until the next click on an attribute or a reset.
    bool nearMissesShown() const { return nearShown_; }
    // The last search found nothing with at least two panels chosen, and
    // its near misses are not shown yet.
    bool nearMissesAvailable() const;

    ButtonBoard& buttons() { return buttons_; }
    const ButtonBoard& buttons() const { return buttons_; }
    StatusStrips& strips() { return strips_; }
    const StatusStrips& strips() const { return strips_; }
    GalleryModel& gallery() { return gallery_; }
    const GalleryModel& gallery() const { return gallery_; }
    PhotoSet& photos() { return photos_; }
    const PhotoSet& photos() const { return photos_; }
    History& history() { return history_; }
    const History& history() const { return history_; }

    // ---- what the views hand over ---------------------------------------------
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
    // The pointer over a cell of the gallery, or over the field between them.
    void pointerOverCell(int cell);
    void pointerOverField();
    // A key's focus on a cell points at it as the pointer does; where the
    // pointer rests is kept.
    void focusCell(int cell);
    // The scroll bar: settled on a value, or its thumb dragged (the range
    // of names under it shows beside the pointer).
    void scrolledTo(int value);
    void scrollDragged(int sliderPosition, QPoint pointer);
    // A click on a cell opens the flower's photo window, or closes it when
    // its name shows red; a window opened for a name on the page shown goes
    // into the history.
    void openPhoto(int cell);
    // A history entry of the menu: its flower's window, to the front or opened.
    void openFromHistory(int entry);

    // ---- commands (the buttons under the panels and the menu) -------------------
    void showThumbnails() override;  // also resumes an interrupted drawing
    void interrupt() override;
    void showAll() override;
    void clear() override;
    void quit() override;
    // Fills the gallery with the flowers that meet every chosen panel but
    // one, in name order, each cell noting the choice it does not meet.
    void showNearMisses();
    // Forgets the selection, the result and the gallery (a slideshow starts).
    void resetSearch();
    // At the end of the run: a running drawing stops at its next step.
    void stopDrawing();

    // ---- the keyboard ---------------------------------------------------------
    // A key takes the pointer's path through the same rules, so that a
    // keyboard user gets the same searches, counts, messages and looks.
    // Focus on a button points at it.
    void focusButton(const ButtonId& button);
    // Space or Enter: a left click inside; with Shift, a Shift-click.
    void activateButton(const ButtonId& button, Qt::KeyboardModifiers modifiers);
    // F1 held: the right button held over the button last pointed at, by
    // the pointer or by a key's focus, or else over the focused one (its help
    // box). Only attribute buttons have help. F1 up releases the button the
    // press went to, wherever the pointer or the focus is by then.
    void helpKeyPressed(std::optional<ButtonId> focused = std::nullopt);
    void helpKeyReleased();
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

signals:
    // A button was selected or released (its checked state).
    void selectionChanged(const ButtonId& button);
    void drawStateChanged();
    // A search, a drawing of thumbnails or the near misses' list has ended:
    // count flowers, and the status that says so, for a screen reader to
    // announce.
    void resultReported(int count, const QString& message);
    void menuRequested();
    void quitRequested();

private:
    // ---- SearchActions ----------------------------------------------------------------
    bool hasResult() const override { return !results_.isEmpty(); }
    bool anySelected() const override { return selection_.any(); }
    bool drawingShowsProgress() const override;
    bool somethingToClear() const override;
    void resetHover() override;
    void showConditions() override;
    void beep() override;
    void openMenu() override { backgroundReleased(Qt::RightButton); }
    bool select(int category, int index) override;
    bool deselect(int category, int index) override;
    void requestThumbnails() override;
    void drawResult() override;

    // ---- the search's own steps -----------------------------------------------------------
    // An attribute's selected flag changes; the search runs as a list box's
    // selection-change handler would run it.
    void setSelected(int category, int index, bool on);
    void listChanged(int category);
    void dropCategory(int category);
    void search();
    void setDrawState(DrawState state, bool resuming);
    void drawingInterrupted(int drawn, int total, double percent);
    void drawingFinished(int total);
    void forgetSuspension();
    void forgetNearMisses();
    void pointerOffButtons();

    AppContext& app_;
    SearchEngine engine_;
    History history_;
    StatusStrips strips_;
    ButtonBoard buttons_;
    PhotoSet photos_;

    Selection selection_;
    std::array<bool, 6> categoryActive_{};
    int primaryCategory_ = 5;  // 5: none
    QStringList results_;
    bool listClickOff_ = false;
    bool allMode_ = false;
    int thumbnailMode_ = 0;  // the mode the last selecting click read
    bool nearShown_ = false;
    QHash<QString, QString> nearNotes_;  // per near miss: the choice it does not meet

    DrawState drawState_ = DrawState::Idle;
    bool resuming_ = false;
    std::optional<ButtonId> helpKeyOn_;  // the button that F1 holds down

    GalleryModel gallery_;
    PanelRules panelRules_;
    CommandRules commandRules_;
};
