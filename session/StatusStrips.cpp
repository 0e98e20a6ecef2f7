#include "session/StatusStrips.h"

StatusStrips::StatusStrips()
{
    connect(&welcomeTimer_, &QTimer::timeout, this, &StatusStrips::welcomeTick);
}

// ---- the message strip ------------------------------------------------------------

void StatusStrips::setStatus(const QString& text)
{
    status_ = text;
    print(status_);
}

void StatusStrips::print(const QString& text)
{
    if (welcomeRunning())
        return;  // the welcome line owns the strip; it shows the status at its end
    printNow(text);
}

void StatusStrips::printNow(const QString& text)
{
    messageText_ = text;
    emit messageChanged();
}

void StatusStrips::startWelcome()
{
    welcomeTimer_.start(30);
}

void StatusStrips::welcomeTick()
{
    const WelcomeLine::Tick t = welcome_.tick(status_);
    messageText_ = t.text;
    if (t.nextInterval > 0)
        welcomeTimer_.setInterval(t.nextInterval);
    else
        welcomeTimer_.stop();
    emit messageChanged();
}

// ---- the condition strip ------------------------------------------------------------

void StatusStrips::setConditionFrame(int width, int stripWidth)
{
    conditionFrameWidth_ = width;
    conditionStripWidth_ = stripWidth;
}

void StatusStrips::moveCondition(double left, int top)
{
    conditionLeft_ = left;
    conditionTop_ = top;
    emit conditionChanged();
}

void StatusStrips::showAtStart(const QString& text)
{
    moveCondition(0, 0);
    printCondition(text);
}

void StatusStrips::showEnd(const QString& text)
{
    const int w = measure_ ? measure_(text) : 0;
    const int W = conditionFrameWidth_;
    if (w >= W)
        moveCondition(-((w - W) + 6), 0);  // the end shows, 6 pixels from the frame's edge
    else
        moveCondition(0, 0);
    printCondition(text);
}

void StatusStrips::printCondition(const QString& text)
{
    conditionText_ = text;
    emit conditionChanged();
}

void StatusStrips::showConditionStrip(bool shown)
{
    conditionShown_ = shown;
    emit conditionChanged();
}

void StatusStrips::conditionReleased(Qt::MouseButton button, QPoint pos, QSize strip)
{
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > strip.width() || pos.y() > strip.height())
        return;
    const double half = conditionFrameWidth_ / 2.0;  // 134.5
    if (button == Qt::LeftButton) {
        moveCondition(conditionLeft_ + half, 0);
        if (conditionLeft_ >= -2)
            moveCondition(0, 0);
    } else if (button == Qt::RightButton) {
        moveCondition(conditionLeft_ - half, -1);
        if (conditionFrameWidth_ - conditionStripWidth_ >= conditionLeft_)
            moveCondition(0, 0);
    }
}

// ---- the progress bar -----------------------------------------------------------------

void StatusStrips::showProgress(bool shown)
{
    if (progressShown_ == shown)
        return;
    progressShown_ = shown;
    emit progressChanged();
}

void StatusStrips::setProgress(double percent)
{
    progressPercent_ = percent;
    emit progressChanged();
}

// ---- the help box ----------------------------------------------------------------------

void StatusStrips::showHelp(const QString& text, QPoint at, bool besidePointer)
{
    help_ = {true, text, at, besidePointer};
    emit helpBoxChanged();
}

void StatusStrips::hideHelp()
{
    if (!help_.shown && help_.text.isEmpty())
        return;
    help_.shown = false;
    emit helpBoxChanged();
}
