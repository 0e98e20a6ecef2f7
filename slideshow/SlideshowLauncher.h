#pragma once

#include "slideshow/SlideshowMemory.h"
#include "slideshow/SlideshowWindow.h"

#include <QPointer>
#include <functional>

class AppContext;
class QWidget;

// What the main window keeps for its slideshows for the whole run: the
// memory one show hands on to the next, and the show now running (one at a
// time). start() opens a show full screen on the main window's screen.
class SlideshowLauncher {
public:
    struct Hooks {
        // Just before the show loads: clear the search, stop the pointer watch.
        std::function<void()> starting;
        // After the show has ended: start the pointer watch again.
        std::function<void()> ended;
    };

    // order: 0 = catalogue (kana) order, 1 = random order. False when no new
    // show starts: one is running already (it comes to the front instead),
    // the catalogue is empty, or the first slide's question was answered
    // "いいえ".
    bool start(AppContext& app, int order, QWidget* mainWindow, const Hooks& hooks);

    bool running() const { return !window_.isNull(); }
    SlideshowWindow* window() const { return window_.data(); }
    SlideshowMemory& memory() { return memory_; }

private:
    SlideshowMemory memory_;
    QPointer<SlideshowWindow> window_;
};
