#pragma once

#include "search/SearchEngine.h"
#include "search/Selection.h"
#include "session/ButtonBoard.h"
#include "session/History.h"
#include "session/Looks.h"
#include "session/WelcomeLine.h"

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
    struct HelpBoxState {
        bool shown = false;
        QString text;
        QPoint at;  // main-window coordinates
        bool besidePointer = false;  // the range tip: left of and above `at`
    };

    static const char* const kSearching;  // "検索中...少々お待ちください。"
    static const char* const kNotFound;  // "検索しましたが、条件に合う草花は見当たりませんでした。"
    static const char* const kPrompt;  // "目的の箇所をクリックしてください。"
    static const char* const kConditionPrefix;  // "検索条件→"
    static const char* const kAllData;  // "検索条件→データ全部"
    static QString foundMessage(int count);
    static QString allDataCountText(int count);
    // "春：データ数 27件": a button's count label and its record count.
    QString countText(int category, int index) const;
    // Top-left of an attribute button in the window, six to a row.
    static QPoint attributeButtonPos(int category, int index);
    // How far the help box of a button moves left of its usual place.
    static int helpShift(int category, int index);

    explicit BrowserSession(AppContext& app, QObject* parent = nullptr);
    ~BrowserSession() override;

    // ---- state --------------------------------------------------------------
    AppContext& app() { return app_; }
    const Selection& selection() const { return selection_; }
    const QStringList& results() const { return results_; }
    const QString& statusMessage() const { return statusMessage_; }
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

    const QString& messageText() const { return messageText_; }
    const QString& conditionText() const { return conditionText_; }
    double conditionLeft() const { return conditionLeft_; }
    int conditionTop() const { return conditionTop_; }
    bool conditionShown() const { return conditionShown_; }
    bool progressShown() const { return progressShown_; }
    double progressPercent() const { return progressPercent_; }
    const HelpBoxState& helpBox() const { return help_; }
    bool welcomeRunning() const { return welcomeTimer_.isActive(); }

    GalleryModel& gallery() { return *gallery_; }
    const GalleryModel& gallery() const { return *gallery_; }
    History& history() { return history_; }
    const History& history() const { return history_; }
    int openPhotoCount() const { return openPhotoCount_; }

    // ---- what the views hand over ---------------------------------------------
    // Pixel width of a text on the condition strip (the strip's font).
    void setTextMeasure(std::function<int(const QString&)> measure) { measure_ = std::move(measure); }
    void setConditionFrame(int width, int stripWidth);
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
    void conditionStripReleased(Qt::MouseButton button, QPoint pos, QSize stripSize);
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

    void startWelcome();
    void stopWelcome() { welcomeTimer_.stop(); }
    // After the catalogue was loaded.
    void catalogueLoaded();
    // After the editor read the catalogue again: the result refers to old
    // slots and goes.
    void catalogueReloaded();

    // ---- shared steps of the commands -------------------------------------------
    void printMessage(const QString& text);
    // Prints even while the welcome line runs.
    void showMessageNow(const QString& text);
    void setResults(const QStringList& names) { results_ = names; }
    void closeAllPhotos() { emit closePhotosRequested(); }
    void ShowConditions();
    void ResetHover();
    void ResetSearch();
    void SearchFlowers();
    void ApplySelection();
    void setStatusMessage(const QString& text) { statusMessage_ = text; }
    void moveConditionStrip(double left, int top);
    void printCondition(const QString& text);
    void showProgress(bool shown);
    void setProgress(double percent);
    void showConditionStrip(bool shown);
    void showHelp(const QString& text, QPoint at, bool besidePointer = false);
    void hideHelp();

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
    void messageChanged();
    void conditionChanged();
    void progressChanged();
    void helpBoxChanged();
    void menuRequested();
    void closePhotosRequested();
    void quitRequested();

private:
    void setDrawState(DrawState state, bool resuming);
    void lstHANA_Click(int category);
    void ClearCategory(int category);
    void welcomeTick();

    AppContext& app_;
    SearchEngine engine_;
    History history_;
    WelcomeLine welcome_;
    QTimer welcomeTimer_;

    Selection selection_;
    std::array<bool, 6> categoryActive_{};
    int primaryCategory_ = 5;  // 5: none
    QString statusMessage_;
    QStringList results_;
    bool listClickOff_ = false;

    DrawState drawState_ = DrawState::Idle;
    bool resuming_ = false;
    bool interruptPending_ = false;
    bool allMode_ = false;
    int thumbnailMode_ = 0;  // the mode the last selecting click read

    ButtonBoard buttons_;

    QString messageText_;
    QString conditionText_;
    double conditionLeft_ = 0;
    int conditionTop_ = 0;
    int conditionFrameWidth_ = 269;
    int conditionStripWidth_ = 1800;
    bool conditionShown_ = true;
    bool progressShown_ = false;
    double progressPercent_ = 0;
    HelpBoxState help_;
    std::function<int(const QString&)> measure_;
    int openPhotoCount_ = 0;

    std::unique_ptr<GalleryModel> gallery_;
    std::unique_ptr<PanelRules> panels_;
    std::unique_ptr<CommandRules> commandRules_;
};
