#pragma once

#include <QObject>
#include <array>

class AppContext;
class PanelButton;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// The control column at the left edge of the slideshow: the five buttons
// with their tooltips, the music list that comes in from the left edge and
// the interval box. It keeps the settings the panel owns (music choice and
// interval) and tells the window what to do through its signals.
class SlideshowPanel : public QObject {
    Q_OBJECT

public:
    // The panel's five buttons, as its tables index them.
    enum class Button { Description = 0, Name, Quit, Music, Interval };
    static constexpr int kButtons = 5;
    static constexpr int kChoices = 8;

    SlideshowPanel(AppContext& app, QWidget* window, int smallFontPt);

    // Places every control; the music list waits beyond the left edge.
    void layout();
    // The pointer is over the background: raised buttons go back to idle and
    // every tooltip is hidden.
    void resetHover();
    // Applies the interval typed in the box; false when it was refused.
    bool applyInterval();

    PanelButton* button(Button b) const { return buttons_[size_t(b)]; }
    QLabel* tooltip(Button b) const { return tips_[size_t(b)]; }
    QLineEdit* intervalBox() const { return intervalBox_; }
    QLabel* secondsLabel() const { return secondsLabel_; }
    QRadioButton* choice(int i) const { return choices_[size_t(i)]; }
    bool musicListOpen() const;

signals:
    void descriptionToggled();
    void nameToggled();
    void quitRequested();
    void musicPressed();
    void musicChosen(int choice);
    void intervalApplied(int seconds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(int smallFontPt);
    void connectButtons();
    void showTip(Button b, bool pressedLook);
    void openMusicList();
    void closeMusicList();
    void openInterval();
    bool intervalKey(QKeyEvent* e);
    int px(int twips) const;
    int py(int twips) const;

    AppContext& app_;
    QWidget* window_;
    std::array<PanelButton*, kButtons> buttons_{};
    std::array<QLabel*, kButtons> tips_{};
    std::array<QRadioButton*, kChoices> choices_{};
    QLineEdit* intervalBox_ = nullptr;
    QLabel* secondsLabel_ = nullptr;
};
