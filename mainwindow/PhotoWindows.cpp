#include "mainwindow/PhotoWindows.h"

#include "mainwindow/PhotoWindow.h"
#include "pictures/PictureLoader.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "session/AppContext.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

const char* const PhotoWindows::kNoPicture = "画像ファイルがありません！";
const char* const PhotoWindows::kContinue = "続けますか？（「はい」で続行，「いいえ」で終了）";
const char* const PhotoWindows::kQuitMemory =
    "ソノハを終了します...。次回ソノハを起動した際は、サムネイルの表示数を減らすか、\r\n"
    "他のアプリケーションソフトを終了してから起動してください。";
const char* const PhotoWindows::kNotInCatalogue = "「%1」は図鑑に登録されていません。";

PhotoWindows::PhotoWindows(AppContext& app, PhotoSet& set, QWidget* mainWindow)
    : app_(app)
    , set_(set)
    , window_(mainWindow)
    , files_(app.folders().pictures())
{
    set_.setViewer(this);
}

PhotoWindows::~PhotoWindows()
{
    set_.setViewer(nullptr);
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

// The window draws a photograph once and then lets its copy go; a later
// repaint reads the file again and brings it to the size it was shown at.
PhotoView::Source PhotoWindows::fetchAgain(const QString& path, QSize size)
{
    if (path.isEmpty())
        return {};
    return [path, size] {
        PictureLoader::Result res = PictureLoader::load(path, size);
        if (res.status != PictureLoader::Status::Ok)
            return QImage();
        if (res.image.size() == size)
            return res.image;
        return res.image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    };
}

PhotoWindow* PhotoWindows::load(int slot)
{
    std::unique_ptr<PhotoWindow>& w = windows_[size_t(slot)];
    if (!w) {
        w = std::make_unique<PhotoWindow>(slot, app_.fontSize(9));
        connect(w.get(), &PhotoWindow::closing, this, &PhotoWindows::closed);
    }
    return w.get();
}

PhotoWindows::Photo PhotoWindows::photoFor(int k, const QString& file, QSize room, bool fromHistory, bool* quit)
{
    const FlowerRecord& r = app_.catalogue().slot(k);
    PictureLoader::Result res = PictureLoader::load(files_.dataPath(file), room);
    if (res.status == PictureLoader::Status::Ok)
        return {res.image, res.image.size(), true, files_.dataPath(file)};
    if (res.status == PictureLoader::Status::Missing && files_.existsInData(r.SYASIN)) {
        res = PictureLoader::load(files_.dataPath(r.SYASIN), room);
        if (res.status == PictureLoader::Status::Ok)
            return {res.image.scaled(320, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation), QSize(320, 240), true,
                    files_.dataPath(r.SYASIN)};
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
    res = PictureLoader::load(files_.noFilePath(), room);
    const bool ok = res.status == PictureLoader::Status::Ok;
    return {res.image, ok ? res.image.size() : QSize(320, 240), true, ok ? files_.noFilePath() : QString()};
}

bool PhotoWindows::place(int slot, const QString& file, int noteHeight, bool fromHistory, int cascade)
{
    const int k = slot;
    const FlowerRecord& r = app_.catalogue().slot(k);
    bool quit = false;
    // A photograph larger than the screen is shown reduced, so that the
    // window and its description stay reachable; it is read at that size.
    QSize room;
    if (const QScreen* s = QGuiApplication::primaryScreen())
        room = s->availableSize() * 9 / 10 - QSize(0, noteHeight);
    Photo photo;
    try {
        photo = photoFor(k, file, room, fromHistory, &quit);
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
    // What is shown at a fixed size (the stand-in, the record's own picture in
    // place of a missing one) may still pass the room.
    if (room.isValid() && (photo.area.width() > room.width() || photo.area.height() > room.height())) {
        photo.image = photo.image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        photo.area = photo.image.size();
    }
    PhotoWindow* w = load(slot);
    w->fill(photo.image, fetchAgain(photo.source, photo.image.size()), photo.area, r.NOTE, noteHeight,
            captionOf(r.NAMAE, r.KA2), r.NAMAE);
    const QScreen* s = QGuiApplication::primaryScreen();
    const QPoint origin = s ? s->geometry().topLeft() : QPoint();
    w->move(origin + cascadePosition(cascade, frameHeight()));
    return true;
}

void PhotoWindows::show(int slot)
{
    PhotoWindow* w = load(slot);
    w->show();
    w->raise();
}

void PhotoWindows::raise(int slot)
{
    if (PhotoWindow* w = window(slot)) {
        w->raise();
        w->activateWindow();
    }
}

void PhotoWindows::close(int slot)
{
    if (PhotoWindow* w = window(slot))
        w->close();
}

void PhotoWindows::notInCatalogue(const QString& name)
{
    app_.platform().messages.show(window_, QString::fromUtf8(kNotInCatalogue).arg(name), MessageBoxes::Buttons::Ok,
                                  MessageBoxes::Icon::Exclamation);
}

// A window cannot be deleted inside its own close event: it goes once the
// event is over, and its slot is free at once.
void PhotoWindows::closed(int slot)
{
    if (std::unique_ptr<PhotoWindow>& w = windows_[size_t(slot)])
        w.release()->deleteLater();
    set_.closed(slot);
}

void PhotoWindows::endProgram()
{
    // Through the normal shutdown, so the history of this run is kept.
    window_->close();
}
