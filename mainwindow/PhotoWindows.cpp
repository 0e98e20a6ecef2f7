#include "mainwindow/PhotoWindows.h"

#include "mainwindow/PhotoWindow.h"
#include "pictures/PictureLoader.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/SoundPlayer.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/GalleryModel.h"
#include "settings/AppSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

const char* const PhotoWindows::kNoPicture = "画像ファイルがありません！";
const char* const PhotoWindows::kContinue = "続けますか？（「はい」で続行，「いいえ」で終了）";
const char* const PhotoWindows::kQuitMemory =
    "ソノハを終了します...。次回ソノハを起動した際は、サムネイルの表示数を減らすか、\r\n"
    "他のアプリケーションソフトを終了してから起動してください。";
const char* const PhotoWindows::kNotInCatalogue = "「%1」は図鑑に登録されていません。";

PhotoWindows::PhotoWindows(AppContext& app, BrowserSession& session, QWidget* mainWindow)
    : app_(app)
    , session_(session)
    , window_(mainWindow)
    , files_(app.folders().pictures())
{
}

void PhotoWindows::setOpenCount(int n)
{
    openCount_ = n;
    session_.setOpenPhotoCount(n);
}

PhotoWindows::~PhotoWindows()
{
    for (auto& w : windows_)
        delete w.data();
}

QString PhotoWindows::captionOf(const QString& name, const QString& family)
{
    return name + QStringLiteral("   ― ") + family + QStringLiteral(" ―");
}

QPoint PhotoWindows::cascadePosition(int n, int frameHeight)
{
    return {(n / 10) * 80, frameHeight * (n % 10)};
}

int PhotoWindows::frameHeight() const
{
    const int measured = window_->frameGeometry().height() - window_->height();
    return measured > 0 ? measured : 24;
}

PhotoWindow* PhotoWindows::load(int slot)
{
    if (!windows_[size_t(slot)]) {
        auto* w = new PhotoWindow(slot, app_.fontSize(9));
        connect(w, &PhotoWindow::closing, this, &PhotoWindows::Form2_Form_QueryUnload);
        windows_[size_t(slot)] = w;
    }
    return windows_[size_t(slot)];
}

void PhotoWindows::PickGalleryCell(int i)
{
    const QString caption = session_.gallery().cell(i).caption;
    const int k = app_.catalogue().slotOfName(caption);
    if (k == 0)
        return;
    selected_ = k;
    if (openCount_ == 0) {
        closedCount_ = 0;  // the cascade restarts at the top left
        ShowFlowerDetail();
        return;
    }
    justClosed_ = false;
    const QStringList& shown = session_.gallery().shownNames();
    if (!shown.isEmpty()) {
        if (shown.contains(caption)) {
            selected_ = app_.catalogue().slotOfName(caption);
            if (PhotoWindow* w = windows_[size_t(selected_)])
                w->close();
        }
    } else {
        session_.gallery().resetNameColours();
    }
    if (justClosed_) {
        justClosed_ = false;  // the click closed the flower's window
        return;
    }
    ShowFlowerDetail();
}

void PhotoWindows::ShowFlowerDetail()
{
    const int k = selected_;
    const FlowerRecord& r = app_.catalogue().slot(k);
    PhotoWindow* w = load(k);
    const QString file = files_.ResolvePictureFile(r.SYASIN);
    if (!PlaceFlowerWindow(k, k, file, 102, false))
        return;
    PlayClickSound();
    session_.gallery().markOpened(r.NAMAE);
    const bool wasShown = w->isVisible();  // opened from the history
    w->show();
    w->raise();
    if (!wasShown)
        setOpenCount(openCount_ + 1);
}

PhotoWindows::Photo PhotoWindows::photoFor(int k, const QString& file, bool fromHistory, bool* quit)
{
    const FlowerRecord& r = app_.catalogue().slot(k);
    PictureLoader::Result res = PictureLoader::load(files_.dataPath(file));
    if (res.status == PictureLoader::Status::Ok)
        return {res.image, res.image.size(), true};
    if (res.status == PictureLoader::Status::Missing && files_.existsInData(r.SYASIN)) {
        res = PictureLoader::load(files_.dataPath(r.SYASIN));
        if (res.status == PictureLoader::Status::Ok)
            return {res.image.scaled(320, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation), QSize(320, 240), true};
    }
    if (res.status == PictureLoader::Status::Missing) {
        MessageBoxes& boxes = app_.platform().messages;
        const QString first = fromHistory ? QStringLiteral("ファイルが見つかりません。\n%1").arg(files_.shownPath(file))
                                          : QString::fromUtf8(kNoPicture);
        boxes.show(window_, first, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
        if (boxes.show(window_, QString::fromUtf8(kContinue), MessageBoxes::Buttons::YesNo,
                       MessageBoxes::Icon::Question) == MessageBoxes::Answer::No) {
            *quit = true;
            return {};
        }
    }
    // The placeholder also stands in for a file that cannot be read.
    res = PictureLoader::load(files_.noFilePath());
    return {res.image, res.status == PictureLoader::Status::Ok ? res.image.size() : QSize(320, 240), true};
}

bool PhotoWindows::PlaceFlowerWindow(int slot, int k, const QString& file, int noteHeight, bool fromHistory)
{
    const FlowerRecord& r = app_.catalogue().slot(k);
    bool quit = false;
    Photo photo;
    try {
        photo = photoFor(k, file, fromHistory, &quit);
    } catch (const std::bad_alloc&) {
        MessageBoxes& boxes = app_.platform().messages;
        boxes.show(window_, QStringLiteral("メモリが不足しています。"), MessageBoxes::Buttons::Ok,
                   MessageBoxes::Icon::None);
        boxes.show(window_, QString::fromUtf8(kQuitMemory), MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None);
        // Ends through the normal shutdown like any other end, so the
        // history of the run is kept and no thread outlives the window.
        quit = true;
    }
    if (quit) {
        endProgram();
        return false;
    }
    // A photograph larger than the screen is shown reduced, so that the
    // window and its description stay reachable.
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QSize room = s->availableSize() * 9 / 10 - QSize(0, noteHeight);
        if (photo.area.width() > room.width() || photo.area.height() > room.height()) {
            photo.image = photo.image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            photo.area = photo.image.size();
        }
    }
    PhotoWindow* w = load(slot);
    w->fill(photo.image, photo.area, r.NOTE, noteHeight, captionOf(r.NAMAE, r.KA2), r.NAMAE);
    PlaceCascade(w);
    return true;
}

void PhotoWindows::PlaceCascade(PhotoWindow* w)
{
    const QScreen* s = QGuiApplication::primaryScreen();
    const QPoint origin = s ? s->geometry().topLeft() : QPoint();
    w->move(origin + cascadePosition(openCount_ + closedCount_, frameHeight()));
}

void PhotoWindows::PlayClickSound()
{
    AppContext& app = app_;
    app.SoundNo = app.settings().readClickSound();
    if (app.SoundNo >= 0 && app.SoundNo <= 2)
        app.platform().sound.play(app.pathOf(QStringLiteral("sound/")) +
                                  QString::fromUtf8(AppSettings::kClickSounds[app.SoundNo]));
    else if (app.SoundNo == 3)
        app.platform().sound.stopAll();
}

void PhotoWindows::Form2_Form_QueryUnload(int slot)
{
    PhotoWindow* w = windows_[size_t(slot)];
    int open = openCount_ - 1;
    ++closedCount_;
    const GalleryModel& g = session_.gallery();
    const bool galleryShows = g.cell(0).pictureShown || g.drawnCount() > 1;
    if (w && galleryShows && w->windowTitle().contains(u'―'))
        session_.gallery().markClosed(w->flowerName());
    setOpenCount(std::max(open, 0));
    justClosed_ = true;
}

void PhotoWindows::CloseAllPhotos()
{
    bool any = false;
    for (const auto& w : windows_)
        any = any || w;
    if (!any)
        return;
    for (auto& w : windows_)
        if (w)
            w->close();
    closedCount_ = 0;
}

void PhotoWindows::Form1_mnuHis_Click(int index)
{
    const QString name = session_.history().entry(index);
    for (const auto& w : windows_)
        if (w && w->isVisible() && w->flowerName() == name) {
            w->raise();
            w->activateWindow();
            return;
        }
    const int k = app_.catalogue().slotOfName(name);
    if (k == 0) {
        // The flower left the catalogue: say so rather than show another one.
        app_.platform().messages.show(window_, QString::fromUtf8(kNotInCatalogue).arg(name), MessageBoxes::Buttons::Ok,
                                      MessageBoxes::Icon::Exclamation);
        return;
    }
    // The flower's own catalogue slot, as from the gallery: the slot of the
    // history position may hold another flower's window.
    PhotoWindow* w = load(k);
    const bool wasShown = w->isVisible();
    if (!PlaceFlowerWindow(k, k, app_.catalogue().slot(k).SYASIN, 90, true))
        return;
    PlayClickSound();
    w->show();
    w->raise();
    if (!wasShown)
        setOpenCount(openCount_ + 1);
}

void PhotoWindows::endProgram()
{
    // Through the normal shutdown, so the history of this run is kept.
    window_->close();
}
