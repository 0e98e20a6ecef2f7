#include "session/PhotoSet.h"

#include "platform/Platform.h"
#include "platform/SoundPlayer.h"
#include "session/AppContext.h"
#include "settings/AppSettings.h"

#include <algorithm>
#include <vector>

namespace {
// The description box under the photograph: taller from the gallery.
constexpr int kGalleryNoteHeight = 102;
constexpr int kHistoryNoteHeight = 90;
}  // namespace

PhotoSet::PhotoSet(AppContext& app)
    : app_(app)
    , files_(app.appPath())
{
}

bool PhotoSet::shownInGallery(const QString& name) const
{
    return std::any_of(open_.begin(), open_.end(),
                       [&](const auto& w) { return w.second.fromGallery && w.second.name == name; });
}

bool PhotoSet::anyFromGallery() const
{
    return std::any_of(open_.begin(), open_.end(), [](const auto& w) { return w.second.fromGallery; });
}

PhotoSet::Pick PhotoSet::pickFromGallery(int slot)
{
    if (open_.empty()) {
        closedCount_ = 0;  // the cascade restarts at the top left
        return open(slot, true) ? Pick::Opened : Pick::Nothing;
    }
    justClosed_ = false;
    if (anyFromGallery()) {
        const auto it = open_.find(slot);
        if (it != open_.end() && it->second.fromGallery && viewer_)
            viewer_->close(slot);
    } else {
        emit galleryNamesReleased();
    }
    if (justClosed_) {
        justClosed_ = false;  // the click closed the flower's window
        return Pick::Closed;
    }
    return open(slot, true) ? Pick::Opened : Pick::Nothing;
}

void PhotoSet::openFromHistory(const QString& name)
{
    for (const auto& [slot, w] : open_)
        if (w.name == name) {
            if (viewer_)
                viewer_->raise(slot);
            return;
        }
    const int k = app_.catalogue().slotOfName(name);
    if (k == 0) {
        // The flower left the catalogue: say so rather than show another one.
        if (viewer_)
            viewer_->notInCatalogue(name);
        return;
    }
    // The flower's own catalogue slot, as from the gallery, so that a flower
    // never has two windows.
    open(k, false);
}

// From the gallery the picture is looked up under other extensions; from
// the history the stored name is taken as it is.
bool PhotoSet::open(int slot, bool fromGallery)
{
    const FlowerRecord& r = app_.catalogue().slot(slot);
    const QString file = fromGallery ? files_.resolvePictureFile(r.SYASIN) : r.SYASIN;
    const int note = fromGallery ? kGalleryNoteHeight : kHistoryNoteHeight;
    if (!viewer_ || !viewer_->place(slot, file, note, !fromGallery, openCount() + closedCount_))
        return false;
    playClickSound();
    viewer_->show(slot);
    Window& w = open_[slot];
    w.name = r.NAMAE;
    w.fromGallery = w.fromGallery || fromGallery;
    return true;
}

void PhotoSet::closeAll()
{
    if (open_.empty())
        return;
    std::vector<int> shown;
    for (const auto& [slot, w] : open_)
        shown.push_back(slot);
    for (int slot : shown)
        if (viewer_)
            viewer_->close(slot);
    open_.clear();
    closedCount_ = 0;
}

void PhotoSet::closed(int slot)
{
    ++closedCount_;
    justClosed_ = true;
    const auto it = open_.find(slot);
    if (it == open_.end())
        return;
    const QString name = it->second.name;
    open_.erase(it);
    emit windowClosed(name);
}

void PhotoSet::playClickSound()
{
    const int sound = app_.settings().readClickSound();
    if (sound >= 0 && sound <= 2)
        app_.platform().sound.play(app_.pathOf(QStringLiteral("sound/")) +
                                   QString::fromUtf8(AppSettings::kClickSounds[sound]));
    else if (sound == 3)
        app_.platform().sound.stopAll();
}
