#pragma once

#include <QObject>
#include <QRect>
#include <array>

class AppContext;
class PanelButton;
class QAbstractButton;
class QButtonGroup;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// The control column at the left edge of the slideshow: the five buttons
// with their tooltips, the music list that comes in from the left edge and
// the interval box. It keeps the settings the panel owns (music choice and
// interval) and tells the window what to do through its signals. Tab goes
// down the column, each open part after its button; the music list is one
// stop, at its checked choice, and the arrows move within it.
class SlideshowPanel : public QObject {
    Q_OBJECT

public:
    // The panel's five buttons, as its tables index them.
    enum class Button { Description = 0, Name, Quit, Music, Interval };
    static constexpr int kButtons = 5;
    static constexpr int kChoices = 8;
    // Pixels between a button and its focus mark's outer edge.
    static constexpr int kMarkMargin = 4;

    SlideshowPanel(AppContext& app, QWidget* window, int smallFontPt);

    // Places every control; the music list waits beyond the left edge.
    void layout();
    // The pointer is over the background: raised buttons go back to idle and
    // every tooltip is hidden.
    void resetHover();
    // Applies the interval typed in the box; false when it was refused. After
    // a key the focus goes back to the interval button.
    bool applyInterval(bool byKey = false);

    PanelButton* button(Button b) const { return buttons_[size_t(b)]; }
    QLabel* tooltip(Button b) const { return tips_[size_t(b)]; }
    QLineEdit* intervalBox() const { return intervalBox_; }
    QLabel* secondsLabel() const { return secondsLabel_; }
    QRadioButton* choice(int i) const { return choices_[size_t(i)]; }
    bool musicListOpen() const { return musicOpen_; }
    // Where the window draws the mark of the button the keyboard is on;
    // empty when the keys are elsewhere.
    QRect focusMark() const;

signals:
    void descriptionToggled();
    void nameToggled();
    void quitRequested();
    void musicPressed();
    void musicChosen(int choice);
    void intervalApplied(int seconds);
    void focusMarkChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(int smallFontPt);
    void setTabOrder();
    void rovingStop();
    void connectButtons();
    void showTip(Button b, bool pressedLook);
    void keyFocusTip(Button b);
    void openMusicList();
    void closeMusicList();
    static void focusChoice(QAbstractButton* choice);
    void check(int choice);
    void chooseMusic(int choice);
    void pressAndChoose(int choice);
    bool choiceKey(int i, QKeyEvent* e);
    void openInterval();
    bool intervalKey(QKeyEvent* e);
    int px(int twips) const;
    int py(int twips) const;

    AppContext& app_;
    QWidget* window_;
    std::array<PanelButton*, kButtons> buttons_{};
    std::array<QLabel*, kButtons> tips_{};
    std::array<QRadioButton*, kChoices> choices_{};
    QButtonGroup* group_ = nullptr;
    bool musicOpen_ = false;
    bool checking_ = false;  // the panel checks a choice itself
    QLineEdit* intervalBox_ = nullptr;
    QLabel* secondsLabel_ = nullptr;
};
