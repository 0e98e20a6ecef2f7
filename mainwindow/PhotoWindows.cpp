#include "mainwindow/PhotoWindows.h"

#include "mainwindow/Gallery.h"
#include "widgets/NameLabel.h"
#include "mainwindow/PhotoWindow.h"
#include "pictures/PictureLoader.h"
#include "widgets/ThumbnailCell.h"
#include "session/AppContext.h"
#include "mainwindow/MainForm.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPlayer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

const char* const PhotoWindows::kNoPicture = "画像ファイルがありません！";
const char* const PhotoWindows::kContinue = "続けますか？（「はい」で続行，「いいえ」で終了）";
const char* const PhotoWindows::kQuitMemory =
    "ソノハを終了します...。次回ソノハを起動した際は、サムネイルの表示数を減らすか、\r\n"
    "他のアプリケーションソフトを終了してから起動してください。";
const char* const PhotoWindows::kNotInCatalogue = "「%1」は図鑑に登録されていません。";

namespace {
const char* const kClickSounds[3] = {"Pi!.wav", "Pipi.wav", "Tyui.wav"};
}

PhotoWindows::PhotoWindows(MainForm& form)
    : f_(form)
    , files_(form.app.GetAppPath())
{
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
    const int measured = f_.window->frameGeometry().height() - f_.window->height();
    return measured > 0 ? measured : 24;
}

PhotoWindow* PhotoWindows::load(int slot)
{
    if (!windows_[size_t(slot)]) {
        auto* w = new PhotoWindow(slot, f_.app.fontSize(9));
        QObject::connect(w, &PhotoWindow::closing, [this](int s) { Form2_Form_QueryUnload(s); });
        windows_[size_t(slot)] = w;
    }
    return windows_[size_t(slot)];
}

void PhotoWindows::PickGalleryCell(int i)
{
    const QString caption = f_.lblNAMAE[size_t(i)]->caption();
    const int k = f_.app.catalogue().slotOfName(caption);
    if (k == 0)
        return;
    selected_ = k;
    if (openCount_ == 0) {
        closedCount_ = 0;  // the cascade restarts at the top left
        ShowFlowerDetail();
        return;
    }
    justClosed_ = false;
    QStringList& shown = f_.gallery->lstHyouji;
    if (!shown.isEmpty()) {
        if (shown.contains(caption)) {
            selected_ = f_.app.catalogue().slotOfName(caption);
            if (PhotoWindow* w = windows_[size_t(selected_)])
                w->close();
        }
    } else {
        for (NameLabel* l : f_.lblNAMAE) {
            l->setColour(NameLabel::kGreen);
            l->setEnabled(true);
        }
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
    const FlowerRecord& r = f_.app.catalogue().slot(k);
    PhotoWindow* w = load(k);
    const QString file = files_.ResolvePictureFile(r.SYASIN);
    if (!PlaceFlowerWindow(k, k, file, 102, false))
        return;
    PlayClickSound();
    for (NameLabel* l : f_.lblNAMAE)
        if (l->caption() == r.NAMAE) {
            l->setColour(NameLabel::kRed);
            f_.history.PushHistory(l->caption());
            break;
        }
    w->show();
    w->raise();
    f_.gallery->lstHyouji.append(r.NAMAE);
    ++openCount_;
}

PhotoWindows::Photo PhotoWindows::photoFor(int k, const QString& file, bool fromHistory, bool* quit)
{
    const FlowerRecord& r = f_.app.catalogue().slot(k);
    PictureLoader::Result res = PictureLoader::load(files_.dataPath(file));
    if (res.status == PictureLoader::Status::Ok)
        return {res.image, res.image.size(), true};
    if (res.status == PictureLoader::Status::Missing && files_.existsInData(r.SYASIN)) {
        res = PictureLoader::load(files_.dataPath(r.SYASIN));
        if (res.status == PictureLoader::Status::Ok)
            return {res.image.scaled(320, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation), QSize(320, 240), true};
    }
    if (res.status == PictureLoader::Status::Missing) {
        MessageBoxes& boxes = f_.app.platform().messages;
        const QString first = fromHistory ? QStringLiteral("ファイルが見つかりません。\n%1").arg(files_.dataPath(file))
                                          : QString::fromUtf8(kNoPicture);
        boxes.show(f_.window, first, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
        if (boxes.show(f_.window, QString::fromUtf8(kContinue), MessageBoxes::Buttons::YesNo,
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
    const FlowerRecord& r = f_.app.catalogue().slot(k);
    bool quit = false;
    Photo photo;
    try {
        photo = photoFor(k, file, fromHistory, &quit);
    } catch (const std::bad_alloc&) {
        MessageBoxes& boxes = f_.app.platform().messages;
        boxes.show(f_.window, QStringLiteral("メモリが不足しています。"), MessageBoxes::Buttons::Ok,
                   MessageBoxes::Icon::None);
        boxes.show(f_.window, QString::fromUtf8(kQuitMemory), MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None);
        std::exit(1);
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
    AppContext& app = f_.app;
    app.SoundNo = app.settings().readClickSound();
    if (app.SoundNo >= 0 && app.SoundNo <= 2)
        app.platform().sound.play(app.pathOf(QStringLiteral("sound/")) + QString::fromUtf8(kClickSounds[app.SoundNo]));
    else if (app.SoundNo == 3)
        app.platform().sound.stopAll();
}

void PhotoWindows::Form2_Form_QueryUnload(int slot)
{
    PhotoWindow* w = windows_[size_t(slot)];
    --openCount_;
    ++closedCount_;
    const bool galleryShows = f_.pctPicture[0]->isVisible() || f_.gallery->DrawnCount > 1;
    if (w && galleryShows && w->windowTitle().contains(u'―')) {
        const QString name = w->flowerName();
        for (NameLabel* l : f_.lblNAMAE)
            if (l->caption() == name)
                l->setColour(NameLabel::kGreen);
        f_.gallery->lstHyouji.removeOne(name);
    }
    if (openCount_ < 0)
        openCount_ = 0;
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
    const QString name = f_.history.entry(index);
    for (int s = 0; s <= 7; ++s)
        if (PhotoWindow* w = windows_[size_t(s)]; w && w->isVisible() && w->flowerName() == name) {
            w->raise();
            w->activateWindow();
            return;
        }
    const int k = f_.app.catalogue().slotOfName(name);
    if (k == 0) {
        // The flower left the catalogue: say so rather than show another one.
        f_.app.platform().messages.show(f_.window, QString::fromUtf8(kNotInCatalogue).arg(name),
                                        MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
        return;
    }
    PhotoWindow* w = load(index);
    const bool wasShown = w->isVisible();
    if (!PlaceFlowerWindow(index, k, f_.app.catalogue().slot(k).SYASIN, 90, true))
        return;
    PlayClickSound();
    w->show();
    w->raise();
    if (!wasShown)
        ++openCount_;
}

void PhotoWindows::endProgram()
{
    // Through the normal shutdown, so the history of this run is kept.
    f_.window->close();
}
