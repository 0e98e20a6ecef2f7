#include "slideshow/SlideshowLauncher.h"

#include "slideshow/SlideshowWindow.h"

bool SlideshowLauncher::start(AppContext& app, int order, QWidget* mainWindow, const Hooks& hooks)
{
    if (running()) {
        // A show behind the main window is the one the user asks for.
        window_->bringToFront();
        return false;
    }
    auto* w = new SlideshowWindow(app, order == 1 ? SlideOrder::Random : SlideOrder::Kana, memory_,
                                  mainWindow ? mainWindow->screen() : nullptr, mainWindow);
    if (hooks.starting)
        QObject::connect(w, &SlideshowWindow::started, w, hooks.starting);
    if (hooks.ended)
        QObject::connect(w, &SlideshowWindow::ended, w, hooks.ended);
    window_ = w;
    if (w->begin())
        return true;
    window_.clear();
    return false;
}
