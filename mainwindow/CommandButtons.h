#pragma once

#include "widgets/PictureButton.h"

struct MainForm;

// The four buttons under the panels: show thumbnails (an interrupt button
// while thumbnails are drawn), all data, clear and exit.
class CommandButtons {
public:
    explicit CommandButtons(MainForm& form);

    // The commands of a release inside the button; the pop-up menu runs them too.
    void Form1_imgSam_MouseUp(int k, int button, int shift, QPoint pos);
    void Form1_imgAll_MouseUp(int button, int shift, QPoint pos);
    void Form1_imgClear_MouseUp(int button, int shift, QPoint pos);

    // The thumbnail button takes its interrupt look after a selecting click.
    void showInterruptLook();
    // The same after a releasing click, hiding every play look.
    void showInterruptLookFromIdle();
    // The all-data button leaves its latched look.
    void unlatchAllData();

    static QString allDataCountText(int count);

private:
    void handleSam(int k, const PictureButton::Event& e);
    void handleCommand(PictureButton* b, const PictureButton::Event& e, void (CommandButtons::*idleMove)(),
                       void (CommandButtons::*releaseHandler)(int, int, QPoint));
    void pressOrBeep(PictureButton* b, int pressed, int pointed, int button, bool repaintNow = false);
    void toIdle(PictureButton* b, int pointed, int idle);
    void restoreIdleHighlights();

    void Form1_imgSamOFF_MouseMove(int k);
    void Form1_imgAllOFF_MouseMove();
    void Form1_imgAllon2_MouseMove();
    void Form1_imgClearOFF_MouseMove();
    void Form1_imgQuitOFF_MouseMove();
    void Form1_imgQuit_MouseUp(int button, int shift, QPoint pos);

    MainForm& f_;
};
