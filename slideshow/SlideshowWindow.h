#pragma once

#include "slideshow/SlideLayout.h"
#include "slideshow/SlidePicture.h"
#include "slideshow/SlideSequence.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

class AppContext;
class BackgroundMusic;
class QLabel;
class QPlainTextEdit;
class QScreen;
class SlideReadAhead;
class SlideshowPanel;
struct SlideshowMemory;

// The whole catalogue as a full-screen show on black: a flower per slide,
// changed by timer, paused and resumed by a click or Space, with the control
// column at the left edge and background music. Esc or the quit button ends
// it; the window then deletes itself.
//
// The caller clears the main window's search first and keeps the memory for
// the whole run; started() and ended() tell it when to switch its own pointer
// watch off and on again.
class SlideshowWindow : public QWidget {
    Q_OBJECT

public:
    enum class Phase { Loading, Running, Ended };

    struct Options {
        bool readAhead = true;
        // The area the show covers; empty: the whole screen given.
        QRect area;
        // Milliseconds between slides; 0: the interval of the settings. The
        // benchmark changes slides faster than a user may choose.
        int stepMs = 0;
    };

    SlideshowWindow(AppContext& app, SlideOrder order, SlideshowMemory& memory, QScreen* screen,
                    QWidget* parent = nullptr);
    SlideshowWindow(AppContext& app, SlideOrder order, SlideshowMemory& memory, QScreen* screen, QWidget* parent,
                    Options options);
    ~SlideshowWindow() override;

    // Prepares the first slide and shows the window full screen. False when
    // no show is running afterwards: an empty catalogue (told in a message)
    // or a first slide whose missing picture the user answered with "いいえ".
    bool begin();
    // Shows the running show over every other window, as at its start.
    void bringToFront();
    // Ends the show as the quit button does.
    void quit();
    // A click on the background, the name line or the picture: pause or resume.
    void togglePause();

    Phase phase() const { return phase_; }
    const SlideSequence& sequence() const { return *sequence_; }
    SlideshowPanel* panel() const { return panel_; }
    QLabel* nameLine() const { return nameLine_; }
    QPlainTextEdit* description() const { return description_; }
    QRect pictureArea() const { return pictureRect_; }
    const QImage& picture() const { return picture_; }
    SlidePicture::Kind pictureKind() const { return pictureKind_; }
    // Milliseconds between two slides, and whether the slides change now.
    int stepMs() const { return stepTimer_.interval(); }
    bool stepping() const { return stepTimer_.isActive(); }
    // Whether the paused name line blinks, and whether the music is watched
    // for the end of its piece.
    bool blinking() const { return blinkTimer_.isActive(); }
    bool musicWatched() const { return musicTimer_.isActive(); }
    bool nameShown() const { return nameShown_; }
    bool descriptionShown() const { return noteShown_; }
    // The name line's colour now (yellow, or red while the pause blinks).
    QColor nameColour() const { return nameColour_; }
    // Milliseconds the last slide change took from the step to the painted
    // picture (measured for the benchmark).
    double lastChangeMs() const { return lastChangeMs_; }
    int measuredChanges() const { return measuredChanges_; }

signals:
    void started();
    void ended();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void build();
    void connectPanel();
    void step();
    bool showSlide(int slot);
    bool pictureOrPlaceholder(SlidePicture* p);
    void placeSlide();
    void setNameColour(const QColor& colour);
    void blink();
    void musicTick();
    void chooseMusic(int choice);
    void applyInterval(int seconds);
    void toggleDescription();
    void toggleName();
    void end();
    QString nameCaption() const;
    void announceSlide();
    void moveFocusMark();

    AppContext& app_;
    SlideshowMemory& memory_;
    Options options_;
    bool fullScreen_ = true;
    SlideLayout layout_;
    qreal dpr_;
    std::unique_ptr<SlideSequence> sequence_;
    std::unique_ptr<BackgroundMusic> music_;
    std::unique_ptr<SlideReadAhead> readAhead_;
    SlideshowPanel* panel_ = nullptr;
    QLabel* nameLine_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QTimer stepTimer_;  // the timed step of either order
    QTimer blinkTimer_;  // the name line while paused
    QTimer musicTimer_;
    Phase phase_ = Phase::Loading;
    QImage picture_;
    SlidePicture::Kind pictureKind_ = SlidePicture::Kind::Missing;
    QRect pictureRect_;
    QRect focusMark_;  // around the panel button the keys are on
    QSize pictureShown_;
    bool nameShown_ = false;
    bool noteShown_ = false;
    QColor nameColour_;
    QElapsedTimer changeClock_;  // from the step to the slide painted
    double lastChangeMs_ = 0;
    int measuredChanges_ = 0;
};
