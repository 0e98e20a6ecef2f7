#pragma once

#include "session/WelcomeLine.h"

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QTimer>
#include <functional>

// The two strips along the bottom of the main window, the progress bar that
// takes the condition strip's place while thumbnails are drawn, and the help
// box, without their widgets.
//
// The message strip shows the status (the last search or drawing message);
// while the welcome line is typed out at start-up the status is only kept,
// and the line shows it at its end. The condition strip is wider than its
// frame and slides in it, so that the end of a long condition shows.
class StatusStrips : public QObject {
    Q_OBJECT

public:
    struct HelpBox {
        bool shown = false;
        QString text;
        QPoint at;  // main-window coordinates
        bool besidePointer = false;  // the range tip: left of and above `at`
    };

    StatusStrips();

    // ---- the message strip --------------------------------------------------------
    const QString& messageText() const { return messageText_; }
    const QString& status() const { return status_; }
    // Keeps the status and prints it, unless the welcome line runs.
    void setStatus(const QString& text);
    // Prints a passing message, unless the welcome line runs.
    void print(const QString& text);
    // Prints even while the welcome line runs.
    void printNow(const QString& text);
    void startWelcome();
    void stopWelcome() { welcomeTimer_.stop(); }
    bool welcomeRunning() const { return welcomeTimer_.isActive(); }

    // ---- the condition strip --------------------------------------------------------
    const QString& conditionText() const { return conditionText_; }
    double conditionLeft() const { return conditionLeft_; }
    int conditionTop() const { return conditionTop_; }
    bool conditionShown() const { return conditionShown_; }
    // Pixel width of a text in the strip's font, told by the view.
    void setTextMeasure(std::function<int(const QString&)> measure) { measure_ = std::move(measure); }
    void setConditionFrame(int width, int stripWidth);
    // The strip at the frame's left edge with the text on it.
    void showAtStart(const QString& text);
    // The text placed so that its end shows, 6 pixels from the frame's edge.
    void showEnd(const QString& text);
    // The text printed where the strip stands.
    void printCondition(const QString& text);
    void showConditionStrip(bool shown);
    // A click on the strip slides it by half a frame: the left button
    // towards the start, the right button towards the end and round.
    void conditionReleased(Qt::MouseButton button, QPoint pos, QSize stripSize);

    // ---- the progress bar -------------------------------------------------------------
    bool progressShown() const { return progressShown_; }
    double progressPercent() const { return progressPercent_; }
    void showProgress(bool shown);
    void setProgress(double percent);

    // ---- the help box -------------------------------------------------------------------
    const HelpBox& helpBox() const { return help_; }
    void showHelp(const QString& text, QPoint at, bool besidePointer = false);
    void hideHelp();

signals:
    void messageChanged();
    void conditionChanged();
    void progressChanged();
    void helpBoxChanged();

private:
    void moveCondition(double left, int top);
    void welcomeTick();

    QString status_;
    QString messageText_;
    WelcomeLine welcome_;
    QTimer welcomeTimer_;

    QString conditionText_;
    double conditionLeft_ = 0;
    int conditionTop_ = 0;
    int conditionFrameWidth_ = 269;
    int conditionStripWidth_ = 1800;
    bool conditionShown_ = true;
    std::function<int(const QString&)> measure_;

    bool progressShown_ = false;
    double progressPercent_ = 0;
    HelpBox help_;
};
