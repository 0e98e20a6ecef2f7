#pragma once

#include "session/BrowserSession.h"
#include "session/GalleryModel.h"

#include <QTimer>
#include <functional>

// Runs an action once, between two passes of the event loop, as soon as the
// gallery shows at least `count` thumbnails: a user's click or a closing
// window arrives between two steps of a drawing, never inside one. It watches
// from construction to destruction; the drawing itself is started after it.
class WhenDrawn {
public:
    WhenDrawn(BrowserSession& session, int count, std::function<void()> action)
    {
        QObject::connect(&poll_, &QTimer::timeout, [this, &session, count, action = std::move(action)] {
            if (drawnWhenActed_ >= 0 || session.gallery().drawnCount() < count)
                return;
            drawnWhenActed_ = session.gallery().drawnCount();
            poll_.stop();  // the action may take the session with it
            action();
        });
        poll_.start(0);
    }

    bool acted() const { return drawnWhenActed_ >= 0; }
    // The thumbnails shown when the action ran; -1 before.
    int drawnWhenActed() const { return drawnWhenActed_; }

private:
    QTimer poll_;
    int drawnWhenActed_ = -1;
};
