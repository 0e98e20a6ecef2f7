#include "slideshow/SlideshowWindow.h"
#include "widgets/AccessibleNotice.h"
#include "widgets/FocusMark.h"
#include "widgets/WindowAccessible.h"

#include "catalogue/CategoryTables.h"
#include "platform/MessageBoxes.h"
#include "session/AppContext.h"
#include "slideshow/BackgroundMusic.h"
#include "slideshow/SlideInterval.h"
#include "slideshow/SlideReadAhead.h"
#include "slideshow/SlideshowMemory.h"
#include "slideshow/SlideshowPanel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>

namespace {

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

const char* const kNoPicture = "画像ファイルがありません！";
const char* const kUnreadablePicture = "画像ファイルを読み込めません！";
const char* const kContinue = "続けますか？（「はい」で続行，「いいえ」でスライドショーの終了）";
const char* const kNoRecords = "草花のデータが１件もないため、スライドショーを開始できません。";

QScreen* screenOrPrimary(QScreen* screen)
{
    return screen ? screen : QGuiApplication::primaryScreen();
}

QRect areaOf(QScreen* screen, const QRect& wanted)
{
    if (!wanted.isEmpty())
        return wanted;
    screen = screenOrPrimary(screen);
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

}  // namespace

SlideshowWindow::SlideshowWindow(AppContext& app, SlideOrder order, SlideshowMemory& memory, QScreen* screen,
                                 QWidget* parent)
    : SlideshowWindow(app, order, memory, screen, parent, Options())
{
}

SlideshowWindow::SlideshowWindow(AppContext& app, SlideOrder order, SlideshowMemory& memory, QScreen* screen,
                                 QWidget* parent, Options options)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , app_(app)
    , memory_(memory)
    , options_(options)
    , layout_(areaOf(screen, options.area).size(), app.screen().twipsPerPixelX(), app.screen().twipsPerPixelY())
    , dpr_(screenOrPrimary(screen) ? screenOrPrimary(screen)->devicePixelRatio() : 1.0)
{
    fullScreen_ = options.area.isEmpty();
    options_.area = areaOf(screen, options.area);
    if (screen)
        setScreen(screen);
    Platform& platform = app.platform();
    sequence_ =
        std::make_unique<SlideSequence>(order, app.catalogue().count(), memory_, platform.random, platform.clock);
    music_ = std::make_unique<BackgroundMusic>(platform.music, platform.random, platform.clock,
                                               app.pathOf(QStringLiteral("sound/")));
    build();
    connectPanel();
}

SlideshowWindow::~SlideshowWindow()
{
    // The music must not outlive the show, however the window goes.
    if (music_)
        music_->close();
}

void SlideshowWindow::build()
{
    WindowAccessible::install();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QString::fromUtf8(MessageBoxes::kTitle));
    setMouseTracking(true);
    // The show has the keys at its start and whenever the panel gives them
    // back (Space pauses, Esc ends), but it is no stop of the Tab key: Tab
    // goes round the panel, whose every stop a screen reader can press.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    const int small = app_.fontSize(9);
    description_ = new QPlainTextEdit(this);
    description_->setReadOnly(true);
    description_->setFrameShape(QFrame::NoFrame);
    description_->setFocusPolicy(Qt::NoFocus);
    description_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: white; }"));
    QFont noteFont = description_->font();
    noteFont.setPointSize(small);
    description_->setFont(noteFont);
    description_->hide();

    nameLine_ = new QLabel(this);
    QFont nameFont = font();
    nameFont.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), nameFont.family()});
    // The random order keeps the design size; the catalogue order scales it.
    nameFont.setPointSize(sequence_->order() == SlideOrder::Kana ? app_.fontSize(18) : 18);
    nameLine_->setFont(nameFont);
    setNameColour(kYellow);
    nameLine_->hide();

    panel_ = new SlideshowPanel(app_, this, small);

    stepTimer_.setTimerType(Qt::PreciseTimer);
    connect(&stepTimer_, &QTimer::timeout, this, &SlideshowWindow::step);
    blinkTimer_.setInterval(450);
    connect(&blinkTimer_, &QTimer::timeout, this, &SlideshowWindow::blink);
    musicTimer_.setInterval(1000);
    connect(&musicTimer_, &QTimer::timeout, this, &SlideshowWindow::musicTick);
}

void SlideshowWindow::connectPanel()
{
    connect(panel_, &SlideshowPanel::descriptionToggled, this, &SlideshowWindow::toggleDescription);
    connect(panel_, &SlideshowPanel::nameToggled, this, &SlideshowWindow::toggleName);
    connect(panel_, &SlideshowPanel::quitRequested, this, &SlideshowWindow::quit);
    connect(panel_, &SlideshowPanel::musicPressed, this, [this] { music_->press(); });
    connect(panel_, &SlideshowPanel::musicChosen, this, &SlideshowWindow::chooseMusic);
    connect(panel_, &SlideshowPanel::intervalApplied, this, &SlideshowWindow::applyInterval);
    connect(panel_, &SlideshowPanel::focusMarkChanged, this, &SlideshowWindow::moveFocusMark);
}

void SlideshowWindow::moveFocusMark()
{
    const QRect now = panel_->focusMark();
    if (now == focusMark_)
        return;
    update(focusMark_);
    update(now);
    focusMark_ = now;
}

bool SlideshowWindow::begin()
{
    if (phase_ != Phase::Loading)
        return phase_ == Phase::Running;
    if (sequence_->count() == 0) {
        app_.platform().messages.show(parentWidget(), QString::fromUtf8(kNoRecords), MessageBoxes::Buttons::Ok,
                                      MessageBoxes::Icon::Exclamation);
        phase_ = Phase::Ended;
        deleteLater();
        return false;
    }
    emit started();
    stepTimer_.setInterval(options_.stepMs > 0 ? options_.stepMs
                                               : SlideInterval::timerMs(app_.settings().readSlideSeconds()));
    musicTimer_.start();
    readAhead_ =
        std::make_unique<SlideReadAhead>(app_.folders().pictures(), layout_.pictureBox(), dpr_, options_.readAhead);
    if (!showSlide(sequence_->start()))
        return false;
    stepTimer_.start();
    phase_ = Phase::Running;

    setGeometry(options_.area);
    panel_->layout();
    bringToFront();
    return true;
}

void SlideshowWindow::bringToFront()
{
    if (fullScreen_)
        showFullScreen();
    else
        show();
    raise();
    activateWindow();
    setFocus();
}

void SlideshowWindow::step()
{
    changeClock_.start();
    showSlide(sequence_->step());
}

bool SlideshowWindow::showSlide(int slot)
{
    const FlowerRecord& r = app_.catalogue().slot(slot);
    SlidePicture p = readAhead_->take(r.SYASIN);
    if ((p.kind == SlidePicture::Kind::Missing || p.kind == SlidePicture::Kind::Unreadable) &&
        !pictureOrPlaceholder(&p))
        return false;
    picture_ = std::move(p.image);
    pictureKind_ = p.kind;
    pictureShown_ = p.shown;
    const QRect old = pictureRect_;
    pictureRect_ = layout_.pictureRect(p.area);
    placeSlide();
    // Painted at once, before the next decode starts competing for the
    // processor: the step is the moment the slide changes.
    if (isVisible())
        repaint(old.united(pictureRect_));
    else
        update(old.united(pictureRect_));
    if (changeClock_.isValid()) {
        lastChangeMs_ = changeClock_.nsecsElapsed() / 1e6;
        ++measuredChanges_;
        changeClock_.invalidate();
    }
    readAhead_->prepare(app_.catalogue().slot(sequence_->upcoming()).SYASIN);
    return true;
}

// The user decides: the placeholder picture with the record's texts, or the
// end of the show. The show stands still while the question is open.
bool SlideshowWindow::pictureOrPlaceholder(SlidePicture* p)
{
    const bool wasStepping = stepTimer_.isActive();
    stepTimer_.stop();
    MessageBoxes& boxes = app_.platform().messages;
    QWidget* over = isVisible() ? this : parentWidget();
    const bool missing = p->kind == SlidePicture::Kind::Missing;
    boxes.show(over, QString::fromUtf8(missing ? kNoPicture : kUnreadablePicture), MessageBoxes::Buttons::Ok,
               MessageBoxes::Icon::Exclamation);
    const MessageBoxes::Answer a =
        boxes.show(over, QString::fromUtf8(kContinue), MessageBoxes::Buttons::YesNo, MessageBoxes::Icon::Question);
    if (phase_ == Phase::Ended)
        return false;  // closed from outside while the question was open
    if (a != MessageBoxes::Answer::Yes) {
        quit();
        return false;
    }
    QSize shown;
    p->image =
        SlidePicture::decodeFitted(app_.pathOf(QStringLiteral("NoFile.jpg")), layout_.pictureBox(), dpr_, &shown);
    // Without the placeholder file the area stays black at the usual size.
    p->shown = shown;
    p->area = p->image.isNull() ? SlideLayout::storedNameArea() : shown;
    if (wasStepping && phase_ == Phase::Running)
        stepTimer_.start();
    return true;
}

void SlideshowWindow::placeSlide()
{
    const FlowerRecord& r = app_.catalogue().slot(sequence_->current());
    description_->setGeometry(layout_.noteRect(pictureRect_));
    description_->setPlainText(r.NOTE);
    nameLine_->setText(nameCaption());
    nameLine_->adjustSize();
    nameLine_->move(layout_.namePos(pictureRect_));
    announceSlide();
}

// A screen reader hears each slide's name and family, whether or not the
// name line shows: they are the description of the show's window, which is
// named by its title. Half-width katakana are spoken in full width.
void SlideshowWindow::announceSlide()
{
    const QString spoken = CategoryTables::fullWidthKatakana(nameCaption());
    if (accessibleDescription() == spoken)
        return;
    setAccessibleDescription(spoken);
    QAccessibleEvent e(this, QAccessible::DescriptionChanged);
    AccessibleNotice::send(e);
}

QString SlideshowWindow::nameCaption() const
{
    const FlowerRecord& r = app_.catalogue().slot(sequence_->current());
    return r.NAMAE + QStringLiteral("   ― ") + r.KA2 + QStringLiteral(" ―");
}

void SlideshowWindow::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), Qt::black);
    if (!picture_.isNull()) {
        const QPoint offset((pictureRect_.width() - pictureShown_.width()) / 2,
                            (pictureRect_.height() - pictureShown_.height()) / 2);
        p.drawImage(QRect(pictureRect_.topLeft() + offset, pictureShown_), picture_);
    }
    if (!focusMark_.isEmpty())
        FocusMark::paint(p, focusMark_);
}

void SlideshowWindow::togglePause()
{
    if (phase_ != Phase::Running)
        return;
    if (sequence_->state() == ShowState::Running) {
        stepTimer_.stop();
        blinkTimer_.start();
        sequence_->pause();
        readAhead_->prepare(app_.catalogue().slot(sequence_->upcoming()).SYASIN);
        return;
    }
    changeClock_.start();
    if (!showSlide(sequence_->resume()))
        return;
    stepTimer_.start();
    blinkTimer_.stop();
    setNameColour(kYellow);
}

void SlideshowWindow::setNameColour(const QColor& colour)
{
    nameColour_ = colour;
    nameLine_->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour.name()));
}

void SlideshowWindow::blink()
{
    setNameColour(nameColour_ == kYellow ? kRed : kYellow);
}

void SlideshowWindow::musicTick()
{
    if (music_->tick(app_.settings().readBgm(BackgroundMusic::kRandom)) == BackgroundMusic::Timer::Stop)
        musicTimer_.stop();
}

void SlideshowWindow::chooseMusic(int choice)
{
    if (!music_->choose(choice))
        musicTimer_.stop();
    else if (!musicTimer_.isActive())
        musicTimer_.start();
}

void SlideshowWindow::applyInterval(int seconds)
{
    // A running timer starts counting again from now; a paused show takes
    // the new interval when it resumes.
    stepTimer_.setInterval(SlideInterval::timerMs(seconds));
}

void SlideshowWindow::toggleDescription()
{
    description_->setPlainText(app_.catalogue().slot(sequence_->current()).NOTE);
    noteShown_ = !noteShown_;
    description_->setVisible(noteShown_);
}

void SlideshowWindow::toggleName()
{
    nameLine_->setText(nameCaption());
    nameLine_->adjustSize();
    nameShown_ = !nameShown_;
    nameLine_->setVisible(nameShown_);
}

void SlideshowWindow::quit()
{
    if (phase_ == Phase::Ended)
        return;
    end();
}

void SlideshowWindow::end()
{
    phase_ = Phase::Ended;
    stepTimer_.stop();
    blinkTimer_.stop();
    musicTimer_.stop();
    music_->close();
    readAhead_.reset();
    picture_ = QImage();
    hide();
    emit ended();
    deleteLater();
}

void SlideshowWindow::mouseReleaseEvent(QMouseEvent*)
{
    togglePause();
}

void SlideshowWindow::mouseMoveEvent(QMouseEvent*)
{
    panel_->resetHover();
}

void SlideshowWindow::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        quit();
    } else if (e->key() == Qt::Key_Space) {
        if (!e->isAutoRepeat())
            togglePause();
    } else {
        QWidget::keyPressEvent(e);
    }
}

void SlideshowWindow::closeEvent(QCloseEvent* e)
{
    quit();
    e->accept();
}

void SlideshowWindow::resizeEvent(QResizeEvent*)
{
    if (size() == layout_.screen() || phase_ != Phase::Running)
        return;
    // The window manager gave another size than the screen's: keep the
    // slide in the middle of what the window has.
    layout_ = SlideLayout(size(), app_.screen().twipsPerPixelX(), app_.screen().twipsPerPixelY());
    pictureRect_ = layout_.pictureRect(pictureRect_.size());
    placeSlide();
    update();
}
