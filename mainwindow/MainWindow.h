#pragma once

#include "mainwindow/MainControls.h"
#include "session/Looks.h"
#include "widgets/PictureButton.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AppContext;
class BrowserSession;
class MainMenu;
class QWindow;
class PhotoWindows;

// The main window: fixed pixel layout, 676 x 488 including its frame, with
// the attribute panels on the left, the gallery on the right and the two
// strips along the bottom. It renders the browser session and forwards the
// user's pointer to it; its menu is a pop-up opened by the right button.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    static const char* const kCaption;  // "ソノハ Version 3.47"
    static constexpr int kOuterWidth = 676;
    static constexpr int kOuterHeight = 488;

    // setLoadingText shows the set-up's progress on the loading screen.
    MainWindow(AppContext& app, const std::function<void(const QString&)>& setLoadingText = {});
    ~MainWindow() override;

    BrowserSession& session() { return *session_; }
    const MainControls& controls() const { return c_; }
    PhotoWindows& photos() { return *photos_; }
    // The scroll bar's pointers at rest and while its thumb is dragged.
    std::pair<QCursor, QCursor> scrollCursors() const { return {scrollRest_, scrollMove_}; }
    MainMenu& menu() { return *menu_; }

    // Called once the catalogue is in memory.
    void catalogueLoaded();
    // Sizes the inside so that the outer frame is 676 x 488, and centres it.
    void fitOuterFrame();
    // Creates the window without showing it and asks the window manager,
    // through askFrame (false when it cannot), which frame it will get; showPlaced() then shows it
    // sized and centred for that frame, so its first frame is final.
    void prepareFrame(const std::function<bool(QWindow*)>& askFrame);
    void showPlaced();
    // True once the window manager has told the frame, or when it was not
    // asked.
    bool frameKnown() const;
    // The pointer watch runs except while the slideshow shows.
    void setPointerWatch(bool on);
    bool pointerWatchOn() const { return pointerWatch_.isActive(); }
    // The normal end of the run: photo windows closed, history written,
    // sound stopped. Every way out goes through it once.
    void shutdown();
    // Tells a screen reader a text unasked, as a notification: each result
    // of a search or a drawing comes here.
    void announce(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void showEvent(QShowEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadCursors();
    void createPanels();
    void createCommandButtons();
    void createGallery();
    void createStrips();
    void applyFonts();
    void bindSession();
    void bindGallery();
    PictureButton* button(const ButtonId& id) const;
    // Every picture button: the four commands, then the five panels.
    static std::vector<ButtonId> allButtons();
    void renderLooks(const ButtonId& id);
    void renderMessage();
    bool deferWhileDrawing(bool* pending);
    void paintMessage();
    void paintProgress();
    void paintPending();
    void renderCondition();
    void renderProgress();
    void renderHelpBox();
    void renderCell(int i);
    void renderScroll();
    void watchPointer();

    // The keyboard: Tab stops at the five panels, the command buttons and
    // the gallery; within each, one member takes the focus and the arrows
    // move it.
    void bindKeyboard();
    void setSpoken(const ButtonId& id);
    void onButtonKey(const ButtonId& id, PictureButton::Key key, Qt::KeyboardModifiers modifiers);
    std::vector<PictureButton*> group(int g) const;
    void moveInGroup(int g, int to);
    bool arrowInGroup(int key);
    void focusCell(int i);
    bool arrowInGallery(int key);
    void markCell(int i, bool on);
    void activateCell(int i);
    void keepGalleryStop();
    void openMenuByKey();

    AppContext& app_;
    MainControls c_;
    std::unique_ptr<BrowserSession> session_;
    std::unique_ptr<PhotoWindows> photos_;
    std::unique_ptr<MainMenu> menu_;
    QTimer pointerWatch_;
    // While thumbnails are drawn the strip and the bar change at every list
    // position; they are painted at most once per frame of the screen.
    QTimer frame_;
    bool framing_ = false;
    bool frameAsked_ = false;
    QElapsedTimer sincePaint_;
    bool messagePending_ = false;
    bool progressPending_ = false;
    QCursor pointingHand_;
    QCursor scrollRest_;  // "H_point.cur"
    QCursor scrollMove_;  // "H_move.cur"
    bool shutDown_ = false;
    static constexpr int kGroups = 6;  // five panels, then the command buttons
    std::array<int, kGroups> groupCurrent_{};
    int cellCurrent_ = 0;
    std::optional<QPoint> keyMenuAt_;
};
