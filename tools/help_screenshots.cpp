// Makes the help page of the application folder from a real main window:
// its screenshots, and the figures its text quotes from them (counts, the
// found flowers, the flower in the photo window), so the text always says
// what the pictures show. The build runs it whenever the catalogue, the help
// page or the program changes.
//
//   sonoha-helpshots APP_DIR CATALOGUE_SOURCE_DIR HELP_SOURCE_DIR HELP_OUT_DIR [README_SHOTS_DIR]
//
// The window runs in a temporary folder over the shipped catalogue, built
// from CATALOGUE_SOURCE_DIR, with the pictures of APP_DIR/data: the user's
// catalogue plays no part and the user's folder (the settings file with its
// history above all) is never written. Every platform service is a fake: no
// sound plays, no browser and no message box opens. The window is driven
// through its own handlers with pointer events, as a user drives it, and each
// state is saved with QWidget::grab() as a 1x PNG in HELP_OUT_DIR/images.
// HELP_SOURCE_DIR/help.htm is the page with {{name}} where a figure goes; it
// is written to HELP_OUT_DIR with the figures in, and a figure it asks for
// that the run did not see is an error. The README's two screenshots are
// written to README_SHOTS_DIR when given and when they changed.
// Meant to run with QT_QPA_PLATFORM=offscreen (it sets that when unset).

#include "about/AboutBox.h"
#include "assets/ButtonArt.h"
#include "catalogue/CatalogueStore.h"
#include "generators/CatalogueSource.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PhotoWindow.h"
#include "mainwindow/PhotoWindows.h"
#include "platform/fake/FakePlatform.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/GalleryModel.h"
#include "session/StatusTexts.h"
#include "widgets/HelpBox.h"
#include "widgets/NameLabel.h"
#include "widgets/PictureButton.h"
#include "widgets/PrintSurface.h"
#include "widgets/ThumbnailCell.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolTip>
#include <memory>

namespace {

// The part of the main window its controls cover: the offscreen platform has
// no window frame, so the rest of the 676 x 488 outer size is bare background.
const QRect kInside(0, 0, 671, 463);

// Attribute buttons used below: [category, index].
constexpr int kSpring[2] = {0, 0};
constexpr int kYellow[2] = {1, 1};
constexpr int kOpposite[2] = {3, 0};
constexpr int kAster[2] = {4, 4};
constexpr int kFourPetals[2] = {2, 0};

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

bool copyFile(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).path());
    return QFile::copy(from, to);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        err() << "cannot write " << path << ": " << f.errorString() << "\n";
        return false;
    }
    return true;
}

// Builds the shipped catalogue from its text source, so the pictures show
// what ships whatever the user did to the catalogue of the application folder.
bool makeShippedCatalogue(const QString& sourceDir, const QString& path)
{
    const CatalogueSource::Result source = CatalogueSource::readFolder(sourceDir);
    for (const QString& e : source.errors)
        err() << e << "\n";
    if (!source.errors.isEmpty() || source.records.isEmpty()) {
        err() << "no catalogue in " << sourceDir << "\n";
        return false;
    }
    QString error;
    if (!CatalogueStore::createNew(path, &error) || !CatalogueStore::insert(path, source.records, &error)) {
        err() << "cannot build the catalogue: " << error << "\n";
        return false;
    }
    return true;
}

// Copies the pictures and the other files the window reads; only data/ is required.
bool copyAppFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to + QStringLiteral("data"));
    QDirIterator it(from + QStringLiteral("/data"), QDir::Files, QDirIterator::Subdirectories);
    int copied = 0;
    while (it.hasNext()) {
        const QString src = it.next();
        copied +=
            copyFile(src, to + QStringLiteral("data/") + QDir(from + QStringLiteral("/data")).relativeFilePath(src));
    }
    for (const char* optional : {"NoFile.jpg", "H_point.cur", "H_move.cur"})
        if (QFileInfo::exists(from + u'/' + QLatin1String(optional)))
            copyFile(from + u'/' + QLatin1String(optional), to + QLatin1String(optional));
    if (copied == 0) {
        err() << "no pictures in " << from << "/data\n";
        return false;
    }
    return true;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage pixels = image;
    pixels.setText(QString(), QString());
    if (pixels.isNull() || !pixels.save(&buffer, "PNG", 0))
        return {};
    return bytes;
}

// The page with each {{name}} replaced by its figure; the names the figures
// lack are added to missing.
QString filledPage(const QString& page, const QMap<QString, QString>& figures, QStringList& missing)
{
    static const QRegularExpression token(QStringLiteral("\\{\\{(\\w+)\\}\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = token.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += page.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        if (figures.contains(name))
            out += figures.value(name).toHtmlEscaped();
        else
            missing << name;
        from = m.capturedEnd();
    }
    return out + page.mid(from);
}

// Lets queued events and timers run for a while.
void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    while (t.elapsed() < ms);
}

void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::NoButton,
          Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, mods);
    QApplication::sendEvent(w, &e);
}

// Where the pointer rests on a 32 x 32 button: low and right of the middle,
// so the drawn hand leaves the button's picture visible.
const QPoint kMid(22, 24);

void pointAt(QWidget* w, QPoint pos = kMid)
{
    send(w, QEvent::MouseMove, pos);
}

// Point at, press and release inside: a click as a user makes it.
void click(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint pos = kMid)
{
    pointAt(w, pos);
    send(w, QEvent::MouseButtonPress, pos, b);
    send(w, QEvent::MouseButtonRelease, pos, b);
}

// Draws a pointer picture with its hot spot at `at`, so a screenshot shows
// where the user points.
QImage withPointer(QImage shot, QPoint at, const QImage& pointer, QPoint hotSpot)
{
    QPainter p(&shot);
    QImage pic = pointer;
    pic.setDevicePixelRatio(1);
    p.drawImage(at - hotSpot, pic);
    return shot;
}

QImage handPointer(QImage shot, QPoint at)
{
    return withPointer(std::move(shot), at, ButtonArt::pointingHand(1), ButtonArt::pointingHandHotSpot());
}

QImage onePixelPerPoint(const QPixmap& grabbed)
{
    QImage image = grabbed.toImage();
    if (image.devicePixelRatio() != 1.0) {
        const QSize logical = (QSizeF(image.size()) / image.devicePixelRatio()).toSize();
        image = image.scaled(logical, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(1);
    }
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

// The screenshot session: a main window over a copy of the application folder.
class Session {
public:
    struct Folders {
        QString app;  // pictures, cursors, placeholder
        QString catalogueSource;  // the shipped catalogue's text source
        QString helpSource;  // help.htm with {{figure}}s, and what goes with it
        QString helpOut;  // the help folder to make
        QString readmeShots;  // where the README's screenshots go; empty for none
    };

    explicit Session(Folders folders)
        : folders_(std::move(folders))
    {
    }

    bool start()
    {
        if (!temp_.isValid() ||
            !makeShippedCatalogue(folders_.catalogueSource, appPath() + QLatin1String(CatalogueStore::kFileName)) ||
            !copyAppFolder(folders_.app, appPath()))
            return false;
        context_ = std::make_unique<AppContext>(appPath(), fake_.platform);
        const auto loaded =
            CatalogueStore::load(appPath() + QLatin1String(CatalogueStore::kFileName), context_->catalogue());
        if (!loaded.ok) {
            err() << "cannot read the catalogue: " << loaded.error << "\n";
            return false;
        }
        window_ = std::make_unique<MainWindow>(*context_);
        window_->catalogueLoaded();
        window_->show();
        window_->session().strips().stopWelcome();
        window_->setPointerWatch(false);
        settle(700);  // past the frame fitting after show
        // The welcome line is stopped: the strip shows what a pointer move leaves.
        pointAt(window_.get(), QPoint(300, 470));
        const int count = context_->catalogue().count();
        figures_.insert(QStringLiteral("catalogueCount"), QString::number(count));
        figures_.insert(QStringLiteral("allDataCount"), StatusTexts::allDataCount(count));
        return QDir().mkpath(folders_.helpOut + QStringLiteral("/images"));
    }

    void run()
    {
        idle();
        pointedCount();
        helpBox();
        searchGallery();
        photoWindows();
        clear();
        drawingAndScrolling();
        clear();
        nearMisses();
        clear();
        menu();
        about();
    }

    bool ok() const { return ok_; }

    // The help page with the figures of the run, and what goes with it.
    bool writeHelp()
    {
        bool written = true;
        QDirIterator it(folders_.helpSource, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString name = QDir(folders_.helpSource).relativeFilePath(src);
            if (name == QLatin1String("help.htm"))
                continue;
            QFile in(src);
            written =
                in.open(QIODevice::ReadOnly) && writeFile(folders_.helpOut + u'/' + name, in.readAll()) && written;
        }
        QFile page(folders_.helpSource + QStringLiteral("/help.htm"));
        if (!page.open(QIODevice::ReadOnly)) {
            err() << "cannot read " << page.fileName() << "\n";
            return false;
        }
        QStringList missing;
        const QString filled = filledPage(QString::fromUtf8(page.readAll()), figures_, missing);
        if (!missing.isEmpty()) {
            err() << page.fileName() << " asks for figures the run did not see: " << missing.join(u", ") << "\n";
            return false;
        }
        for (auto f = figures_.cbegin(); f != figures_.cend(); ++f)
            out() << "figure " << f.key() << ": " << f.value() << "\n";
        // Last, so that a run that failed on the way leaves no page that looks finished.
        return written && writeFile(folders_.helpOut + QStringLiteral("/help.htm"), filled.toUtf8());
    }

    // The README's screenshots, written only when they changed, so an
    // unchanged catalogue leaves the sources as they are.
    bool writeReadmeShots()
    {
        if (folders_.readmeShots.isEmpty())
            return true;
        bool written = true;
        for (auto shot = readmeShots_.cbegin(); shot != readmeShots_.cend(); ++shot) {
            const QString path = folders_.readmeShots + u'/' + shot.key();
            QFile old(path);
            if (old.open(QIODevice::ReadOnly) && old.readAll() == shot.value())
                continue;
            old.close();
            written = writeFile(path, shot.value()) && written;
            out() << "README screenshot " << path << " taken again\n";
        }
        return written;
    }

private:
    const MainControls& form() { return window_->controls(); }
    BrowserSession& session() { return window_->session(); }
    // Lets the drawing advance until it has ended.
    void waitForDrawing()
    {
        while (session().drawing())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QString appPath() const { return temp_.path() + u'/'; }
    PictureButton* attr(const int (&b)[2]) { return form().attr[size_t(b[0])][size_t(b[1])]; }
    QPoint inWindow(QWidget* w, QPoint p = kMid) { return w->mapTo(window_.get(), p); }
    QImage mainShot() { return onePixelPerPoint(window_->grab(kInside)); }
    void background() { pointAt(window_.get(), QPoint(300, 470)); }

    void save(const QString& name, const QImage& image)
    {
        const QByteArray bytes = pngBytes(image);
        const QString path = folders_.helpOut + QStringLiteral("/images/") + name;
        if (bytes.isEmpty() || !writeFile(path, bytes)) {
            err() << "cannot save " << path << "\n";
            ok_ = false;
            return;
        }
        out() << name << " " << image.width() << "x" << image.height() << " " << bytes.size() << " bytes\n";
        out().flush();
    }

    // A help screenshot that the README shows too, under a name of its own.
    void saveForReadme(const QString& name, const QString& readmeName, const QImage& image)
    {
        save(name, image);
        readmeShots_.insert(readmeName, pngBytes(image));
    }

    // A text the window shows, quoted by the help page as {{name}}.
    void figure(const QString& name, const QString& text)
    {
        if (text.trimmed().isEmpty()) {
            err() << "the window showed no text for the figure " << name << "\n";
            ok_ = false;
        }
        figures_.insert(name, text.trimmed());
    }

    void idle() { save(QStringLiteral("main-idle.png"), mainShot()); }

    void pointedCount()
    {
        PictureButton* b = attr(kYellow);
        pointAt(b);
        figure(QStringLiteral("yellowCount"), form().conditionStrip->text());
        save(QStringLiteral("main-count.png"), handPointer(mainShot(), inWindow(b)));
        background();
    }

    void helpBox()
    {
        PictureButton* b = attr(kOpposite);
        pointAt(b);
        send(b, QEvent::MouseButtonPress, kMid, Qt::RightButton);
        // The hand goes under the help box, so that its first words stay legible.
        QImage shot = handPointer(mainShot(), inWindow(b));
        HelpBox* box = form().helpBox;
        QPainter(&shot).drawImage(box->pos(), onePixelPerPoint(box->grab()));
        save(QStringLiteral("main-help.png"), shot);
        send(b, QEvent::MouseButtonRelease, kMid, Qt::RightButton);
        background();
    }

    void searchGallery()
    {
        for (const auto* b : {&kSpring, &kYellow, &kAster})
            click(attr(*b));
        background();
        figure(QStringLiteral("foundMessage"), form().messageStrip->text());
        save(QStringLiteral("search-selected.png"), mainShot());
        click(form().thumbnailButton);  // ▶
        waitForDrawing();
        out() << "search found " << session().results().size() << " flowers\n";
        figure(QStringLiteral("doneMessage"), form().messageStrip->text());
        // Pointing at a thumbnail turns its name yellow.
        ThumbnailCell* picture = form().cellPictures[5];
        pointAt(picture, QPoint(60, 50));
        saveForReadme(QStringLiteral("search-gallery.png"), QStringLiteral("main-window.png"),
                      handPointer(mainShot(), inWindow(picture, QPoint(60, 50))));
        background();
    }

    void photoWindows()
    {
        int slot = 0;  // the flower of the last window opened
        for (int cell : {1, 6}) {
            NameLabel* label = form().cellNames[size_t(cell)];
            if (!label->isVisible())
                continue;
            slot = context_->catalogue().slotOfName(label->caption());
            click(label, Qt::LeftButton, QPoint(50, 8));
        }
        settle(100);
        background();
        save(QStringLiteral("gallery-opened.png"), mainShot());
        if (PhotoWindow* w = slot > 0 ? window_->photos().window(slot) : nullptr) {
            out() << "photo window: " << w->windowTitle() << "\n";
            figure(QStringLiteral("photoName"), context_->catalogue().slot(slot).NAMAE);
            saveForReadme(QStringLiteral("photo-window.png"), QStringLiteral("photo-window.png"),
                          onePixelPerPoint(w->grab()));
        } else {
            err() << "no photo window opened\n";
            ok_ = false;
        }
    }

    void clear()
    {
        click(form().clearButton);
        background();
        settle(100);
    }

    // All data: a shot while the thumbnails are still being drawn (the ▶
    // button shows ❚❚), then the gallery paged down with the range tip of a
    // dragged scroll thumb.
    void drawingAndScrolling()
    {
        bool taken = false;
        click(form().allDataButton);
        // One pass of the event loop at a time: the drawing advances one list
        // position per pass, so the shot catches it under way.
        while (session().drawing()) {
            QCoreApplication::processEvents();
            // Once the strip shows the count (it is painted once per frame).
            const bool counting = form().messageStrip->text().startsWith(QStringLiteral("サムネイルを表示中"));
            if (!taken && counting && session().gallery().drawnCount() >= 8) {
                taken = true;
                figure(QStringLiteral("drawingMessage"), form().messageStrip->text());
                // What ❚❚ at this moment would report.
                figure(QStringLiteral("interruptedMessage"),
                       StatusTexts::interrupted(session().gallery().drawnCount(), context_->catalogue().count()));
                save(QStringLiteral("gallery-drawing.png"), mainShot());
            }
        }
        if (!taken) {
            err() << "the drawing ended before a shot could be taken\n";
            ok_ = false;
        }
        out() << "all data: " << session().gallery().drawnCount() << " thumbnails\n";

        QScrollBar* bar = form().galleryScroll;
        const int value = std::min(bar->maximum(), 20 * GalleryModel::kRowPitch);
        bar->setValue(value);  // a page jump redraws the cells
        bar->setSliderDown(true);
        bar->setSliderPosition(value);
        const QPoint thumb = thumbCentre(bar);
        // Offscreen there is no real pointer: the tip is placed as it would be
        // with the pointer on the thumb.
        session().scrollDragged(bar->sliderPosition(), bar->mapTo(window_.get(), thumb));
        figure(QStringLiteral("scrollRange"), session().gallery().rangeTip(bar->sliderPosition()));
        save(QStringLiteral("gallery-scroll.png"),
             withPointer(mainShot(), bar->mapTo(window_.get(), thumb), ButtonArt::scrollPointerMove(1),
                         ButtonArt::scrollPointerHotSpot()));
        bar->setSliderDown(false);
        settle(50);
    }

    QPoint thumbCentre(QScrollBar* bar) const
    {
        const int groove = bar->height() - 2 * bar->width();
        const double span = double(bar->maximum() - bar->minimum() + bar->pageStep());
        const double at = (bar->sliderPosition() + bar->pageStep() / 2.0) / span;
        return {bar->width() / 2, bar->width() + int(groove * at)};
    }

    // A search that finds nothing, then the menu's near misses, with the
    // tooltip of the first name: the choice that flower does not meet.
    void nearMisses()
    {
        for (const auto* b : {&kSpring, &kYellow, &kFourPetals, &kOpposite})
            click(attr(*b));
        background();
        figure(QStringLiteral("notFoundMessage"), form().messageStrip->text());
        MainMenu& m = window_->menu();
        m.prepare();
        if (!m.nearMissesEntry->isEnabled()) {
            err() << "the search found something: no near misses to show\n";
            ok_ = false;
            return;
        }
        m.run(m.nearMissesEntry);
        figure(QStringLiteral("nearMessage"), form().messageStrip->text());
        waitForDrawing();
        out() << "near misses: " << session().results().size() << "\n";
        figure(QStringLiteral("nearCondition"), form().conditionStrip->text());
        NameLabel* name = form().cellNames[0];
        const QPoint at = inWindow(name, QPoint(50, 8));
        pointAt(name, QPoint(50, 8));
        figure(QStringLiteral("nearNote"), name->toolTip().section(u'\n', 0, 0));
        // Offscreen a tooltip is a window of its own that a grab leaves out:
        // it is drawn where it would show, below and right of the pointer.
        QLabel tip(name->toolTip());
        tip.setPalette(QToolTip::palette());
        tip.setFont(QToolTip::font());
        tip.setAutoFillBackground(true);
        tip.setFrameStyle(QFrame::Box | QFrame::Plain);
        tip.setMargin(3);
        tip.adjustSize();
        QImage shot = handPointer(mainShot(), at);
        QPainter(&shot).drawImage(at + QPoint(12, 20), onePixelPerPoint(tip.grab()));
        save(QStringLiteral("search-near.png"), shot);
        background();
    }

    // The whole menu, with the thumbnail mode submenu opened beside its entry.
    void menu()
    {
        MainMenu& m = window_->menu();
        m.prepare();
        m.topMenu->popup(window_->mapToGlobal(QPoint(260, 20)));
        settle(100);
        const QRect entry = m.topMenu->actionGeometry(m.thumbnailModeMenu->menuAction());
        m.topMenu->setActiveAction(m.thumbnailModeMenu->menuAction());
        m.thumbnailModeMenu->popup(m.topMenu->mapToGlobal(entry.topRight()));
        settle(100);
        const QImage main = onePixelPerPoint(m.topMenu->grab());
        const QImage sub = onePixelPerPoint(m.thumbnailModeMenu->grab());
        m.thumbnailModeMenu->hide();
        m.topMenu->hide();
        settle(50);

        const int overlap = 4, subTop = entry.top() - 3;
        QImage both(main.width() + sub.width() - overlap, std::max(main.height(), subTop + sub.height()),
                    QImage::Format_ARGB32);
        both.fill(Qt::transparent);
        QPainter p(&both);
        p.drawImage(0, 0, main);
        p.drawImage(main.width() - overlap, subTop, sub);
        p.end();
        save(QStringLiteral("menu.png"), both);
    }

    void about()
    {
        AboutBox box(*context_, window_.get());
        box.show();
        settle(100);
        save(QStringLiteral("about.png"), onePixelPerPoint(box.grab()));
        box.hide();
    }

    Folders folders_;
    QTemporaryDir temp_;
    QMap<QString, QString> figures_;
    QMap<QString, QByteArray> readmeShots_;
    FakePlatform fake_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<MainWindow> window_;
    bool ok_ = true;
};

// The offscreen platform reports every window-manager feature it lacks;
// those notices say nothing about the screenshots.
void quietOffscreenNotices()
{
    static const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support")))
                previous(type, context, message);
        });
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "1");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    quietOffscreenNotices();
    if (argc != 5 && argc != 6) {
        err()
            << "usage: sonoha-helpshots APP_DIR CATALOGUE_SOURCE_DIR HELP_SOURCE_DIR HELP_OUT_DIR [README_SHOTS_DIR]\n";
        return 2;
    }
    auto folder = [&](int i) { return i < argc ? QDir(QString::fromLocal8Bit(argv[i])).absolutePath() : QString(); };
    Session session({folder(1), folder(2), folder(3), folder(4), folder(5)});
    if (!session.start())
        return 1;
    session.run();
    return session.ok() && session.writeHelp() && session.writeReadmeShots() ? 0 : 1;
}
