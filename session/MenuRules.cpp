#include "session/MenuRules.h"

#include "session/BrowserSession.h"
#include "session/GalleryModel.h"

MenuState MenuRules::prepare(const BrowserSession& s, bool folderWritable)
{
    MenuState m;
    const bool selection = s.selection().any();
    const bool resultEmpty = s.results().isEmpty();
    const bool interruptLook = s.buttons().thumbnailLooks().visible(ThumbnailLook::IdleInterrupt);
    const bool latched = s.buttons().allDataLatched();
    const int openPhotos = s.photos().openCount();

    m.clearEnabled = (resultEmpty && !selection && openPhotos == 0) ? false : !interruptLook;
    m.editorEnabled = resultEmpty && !selection && folderWritable;
    m.settingsMenusEnabled = !(selection || s.allMode() || openPhotos != 0 || latched);
    if (!m.settingsMenusEnabled)
        m.editorEnabled = false;

    for (int n = 0; n < 8; ++n) {
        m.historyCaptions[size_t(n)] = s.history().caption(n);
        m.historyEnabled[size_t(n)] = s.history().itemEnabled(n, s.gallery().drawnCount());
    }
    m.thumbnailsText = s.strips().progressShown() ? QStringLiteral("継続") : QStringLiteral("サムネイルの表示");
    m.thumbnailsEnabled = !resultEmpty;
    m.allEnabled = !latched;
    m.nearMissesEnabled = s.nearMissesAvailable();
    return m;
}
