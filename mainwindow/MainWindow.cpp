#include "mainwindow/MainWindow.h"

#include "assets/ArtPalette.h"
#include "assets/ButtonArt.h"
#include "assets/CursorFile.h"
#include "catalogue/CategoryTables.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/PhotoWindows.h"
#include "platform/BoundedFile.h"
#include "platform/Platform.h"
#include "platform/SoundPlayer.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/GalleryModel.h"
#include "session/PanelRules.h"
#include "widgets/Announcer.h"
#include "widgets/GalleryField.h"
#include "widgets/HelpBox.h"
#include "widgets/NameLabel.h"
#include "widgets/PictureButton.h"
#include "widgets/PrintSurface.h"
#include "widgets/ProgressBox.h"
#include "widgets/ThumbnailCell.h"
#include "widgets/WindowAccessible.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>
#include <cmath>

const char* const MainWindow::kCaption = "ソノハ Version 3.47";

namespace {

const char* const kCaptions[5] = {"花の咲く季節", "花の色", "花弁（花びら）の形・数", "葉のつき方", "科"};
const int kCaptionTop[5] = {8, 72, 136, 232, 296};
const int kPanelBottom[5] = {24, 88, 184, 248, 344};
// A cursor file is a few kilobytes; anything far larger is not one.
constexpr qint64 kCursorFileCap = 1 << 20;
constexpr int kFrameMs = 16;

int artScale(const QWidget* w)
{
    return std::max(1, int(std::ceil(w->devicePixelRatioF())));
}

QPixmap pix(const QImage& image)
{
    return QPixmap::fromImage(image);
}

QColor colourOf(GalleryModel::NameColour c)
{
    switch (c) {
    case GalleryModel::NameColour::Yellow: return NameLabel::kYellow;
    case GalleryModel::NameColour::Red: return NameLabel::kRed;
    default: return NameLabel::kGreen;
    }
}

}  // namespace

MainWindow::MainWindow(AppContext& app, const std::function<void(const QString&)>& setLoadingText)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , app_(app)
    , session_(std::make_unique<BrowserSession>(app))
{
    if (setLoadingText)
        setLoadingText(QStringLiteral("初期化中です..."));
    WindowAccessible::install();
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QIcon(pix(ButtonArt::appIcon(64))));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QImage hand = ButtonArt::pointingHand(artScale(this));
    pointingHand_ = QCursor(pix(hand), ButtonArt::pointingHandHotSpot().x(), ButtonArt::pointingHandHotSpot().y());

    // Fixed from the start: a window manager frames a window that cannot be
    // resized differently (no grips), and the frame it first tells must be
    // the one the window keeps.
    setFixedSize(kOuterWidth, kOuterHeight);  // the outer size until the frame is known
    createGallery();
    createPanels();
    createCommandButtons();
    createStrips();
    applyFonts();
    loadCursors();

    photos_ = std::make_unique<PhotoWindows>(app, session_->photos(), this);
    menu_ = std::make_unique<MainMenu>(app, *session_, this, [this](bool on) { setPointerWatch(on); });
    bindSession();
    bindGallery();
    bindKeyboard();

    session_->strips().startWelcome();
    connect(&pointerWatch_, &QTimer::timeout, this, &MainWindow::watchPointer);
    pointerWatch_.start(100);
}

MainWindow::~MainWindow() = default;

void MainWindow::loadCursors()
{
    auto fromFile = [&](const char* name) {
        QImage image;
        QPoint hot;
        // A FIFO or a device in place of the file must not block the start.
        const auto bytes = BoundedFile::read(app_.pathOf(QString::fromLatin1(name)), kCursorFileCap);
        if (bytes && CursorFile::read(*bytes, &image, &hot))
            return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
        return QCursor(Qt::ArrowCursor);  // a missing cursor file is no reason to stop
    };
    scrollRest_ = fromFile("H_point.cur");
    scrollMove_ = fromFile("H_move.cur");
    c_.galleryScroll->setCursor(scrollRest_);
}

void MainWindow::createPanels()
{
    const int scale = artScale(this);
    for (int k = 0; k < 5; ++k) {
        auto* caption = new QLabel(QString::fromUtf8(kCaptions[k]), this);
        caption->move(8, kCaptionTop[k]);
        caption->setMouseTracking(true);
        caption->installEventFilter(this);
        QPalette pal = caption->palette();
        pal.setColor(QPalette::WindowText, ArtPalette::panelCaption());
        caption->setPalette(pal);
        c_.captions[size_t(k)] = caption;
        for (int i = 0; i < CategoryTables::valueCount(k); ++i) {
            auto* b = new PictureButton(this);
            using L = ButtonArt::AttributeLook;
            // Front to back, as AttributeLook: pressed, selected, selected pointed, pointed, idle.
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Pressed, scale)), false);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Selected, scale)), false);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::SelectedPointed, scale)), true);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Pointed, scale)), true);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Unselected, scale)), false);
            b->setPointingCursor(pointingHand_);
            b->move(PanelRules::buttonPos(k, i));
            c_.attr[size_t(k)][size_t(i)] = b;
        }
    }
}

void MainWindow::createCommandButtons()
{
    const int scale = artScale(this);
    using C = ButtonArt::Command;
    using L = ButtonArt::CommandLook;
    auto make = [&](int left) {
        auto* b = new PictureButton(this);
        b->setPointingCursor(pointingHand_);
        b->move(left, 400);
        return b;
    };
    c_.thumbnailButton = make(8);
    // As ThumbnailLook: pressed, pointed and idle, each interrupt before show.
    c_.thumbnailButton->addLook(pix(ButtonArt::commandButton(C::Pause, L::Pressed, scale)), false);
    c_.thumbnailButton->addLook(pix(ButtonArt::commandButton(C::Play, L::Pressed, scale)), false);
    c_.thumbnailButton->addLook(pix(ButtonArt::commandButton(C::Pause, L::Pointed, scale)), true);
    c_.thumbnailButton->addLook(pix(ButtonArt::commandButton(C::Play, L::Pointed, scale)), true);
    c_.thumbnailButton->addLook(pix(ButtonArt::commandButton(C::Pause, L::Idle, scale)), false);
    c_.thumbnailButton->addLook(pix(ButtonArt::commandButton(C::Play, L::Idle, scale)), false);

    struct CommandSlot {
        PictureButton** slot;
        int left;
        C command;
    } buttons[] = {
        {&c_.allDataButton, 56, C::AllData}, {&c_.clearButton, 104, C::Clear}, {&c_.quitButton, 152, C::Quit}};
    for (const CommandSlot& s : buttons) {
        PictureButton* b = make(s.left);
        // As CommandLook: pressed, latched, pointed, idle.
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Pressed, scale)), false);
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Latched, scale)), false);
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Pointed, scale)), true);
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Idle, scale)), false);
        *s.slot = b;
    }
}

void MainWindow::createGallery()
{
    c_.galleryField = new GalleryField(this);
    c_.galleryField->setGeometry(208, 0, 448, 444);
    for (int i = 0; i < 16; ++i) {
        const int x = (i % 4) * 109 + 9, y = (i / 4) * 109;
        auto* cell = new ThumbnailCell(i, c_.galleryField);
        cell->setGeometry(x, y + 8, 100, 85);
        auto* label = new NameLabel(i, c_.galleryField);
        label->setGeometry(x, y + 92, 100, 16);
        cell->setCursor(pointingHand_);
        label->setCursor(pointingHand_);
        c_.cellPictures[size_t(i)] = cell;
        c_.cellNames[size_t(i)] = label;
    }
    c_.galleryScroll = new QScrollBar(Qt::Vertical, this);
    c_.galleryScroll->setGeometry(655, 0, 16, 444);
    c_.galleryScroll->setRange(0, 0);
    c_.galleryScroll->setPageStep(GalleryModel::kPage);
    c_.galleryScroll->setSingleStep(GalleryModel::kRowPitch);
}

void MainWindow::createStrips()
{
    c_.messageStrip = new PrintSurface(this);
    c_.messageStrip->setGeometry(1, 444, 669, 19);
    c_.messageStrip->setColours(ArtPalette::stripBackground(), ArtPalette::stripText());
    c_.conditionFrame = new QWidget(this);
    c_.conditionFrame->setGeometry(402, 444, 269, 19);
    c_.conditionStrip = new PrintSurface(c_.conditionFrame);
    c_.conditionStrip->setGeometry(0, 1, 1800, 22);
    c_.conditionStrip->setColours(ArtPalette::stripBackground().darker(104), ArtPalette::stripText());
    c_.conditionStrip->setCursor(pointingHand_);
    c_.progressBar = new ProgressBox(this);
    c_.progressBar->setGeometry(c_.conditionFrame->geometry());
    c_.progressBar->setForeground(QColor(0, 0, 255));
    c_.progressBar->hide();
    c_.helpBox = new HelpBox(this);
    c_.helpBox->raise();
    c_.announcer = new Announcer(this);
}

void MainWindow::announce(const QString& text)
{
    c_.announcer->announce(text);
}

void MainWindow::applyFonts()
{
    auto fontOf = [&](int nominal) {
        QFont f = QApplication::font();
        f.setPointSize(app_.fontSize(nominal));
        return f;
    };
    for (NameLabel* l : c_.cellNames)
        l->setFont(fontOf(9));
    c_.progressBar->setFont(fontOf(9));
    c_.helpBox->setFont(fontOf(10));
    c_.messageStrip->setFont(fontOf(10));
    c_.conditionStrip->setFont(fontOf(10));
    for (QLabel* c : c_.captions) {
        c->setFont(fontOf(11));
        c->adjustSize();
    }
}

// ---- the session's pictures of itself -------------------------------------------

PictureButton* MainWindow::button(const ButtonId& id) const
{
    switch (id.kind) {
    case ButtonId::Kind::Attribute: return c_.attr[size_t(id.category)][size_t(id.index)];
    case ButtonId::Kind::Thumbnail: return c_.thumbnailButton;
    case ButtonId::Kind::AllData: return c_.allDataButton;
    case ButtonId::Kind::Clear: return c_.clearButton;
    case ButtonId::Kind::Quit: return c_.quitButton;
    }
    return nullptr;
}

std::vector<ButtonId> MainWindow::allButtons()
{
    std::vector<ButtonId> ids = {
        {ButtonId::Kind::Thumbnail}, {ButtonId::Kind::AllData}, {ButtonId::Kind::Clear}, {ButtonId::Kind::Quit}};
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < CategoryTables::valueCount(k); ++i)
            ids.push_back({ButtonId::Kind::Attribute, k, i});
    return ids;
}

void MainWindow::bindSession()
{
    BrowserSession& s = *session_;
    StatusStrips& strips = s.strips();
    strips.setTextMeasure([this](const QString& t) { return c_.conditionStrip->textWidth(t); });
    strips.setConditionFrame(c_.conditionFrame->width(), c_.conditionStrip->width());

    for (const ButtonId& id : allButtons()) {
        button(id)->setHandler([this, id](const PointerEvent& e) { session_->buttons().pointer(id, e); });
        renderLooks(id);
    }

    connect(&s.buttons(), &ButtonBoard::looksChanged, this, &MainWindow::renderLooks);
    connect(&s, &BrowserSession::selectionChanged, this,
            [this](const ButtonId& id) { button(id)->spokenMayHaveChanged(); });
    // What a drawing left unpainted shows the moment it ends or stops.
    connect(&s, &BrowserSession::drawStateChanged, this, &MainWindow::paintPending);
    connect(&s, &BrowserSession::resultReported, this, [this](int, const QString& message) { announce(message); });
    frame_.setSingleShot(true);
    connect(&frame_, &QTimer::timeout, this, &MainWindow::paintPending);
    connect(&strips, &StatusStrips::messageChanged, this, &MainWindow::renderMessage);
    connect(&strips, &StatusStrips::conditionChanged, this, &MainWindow::renderCondition);
    connect(&strips, &StatusStrips::progressChanged, this, &MainWindow::renderProgress);
    connect(&strips, &StatusStrips::helpBoxChanged, this, &MainWindow::renderHelpBox);
    connect(&s, &BrowserSession::menuRequested, this,
            [this] { menu_->popup(std::exchange(keyMenuAt_, std::nullopt).value_or(QCursor::pos())); });
    connect(&s, &BrowserSession::quitRequested, this, &QWidget::close);

    connect(c_.conditionStrip, &PrintSurface::mouseReleased, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint pos) {
                session_->strips().conditionReleased(b, pos, c_.conditionStrip->size());
            });
    connect(c_.messageStrip, &PrintSurface::mouseMoved, this, [this] { session_->pointerOverMessage(); });
}

void MainWindow::bindGallery()
{
    GalleryModel& g = session_->gallery();
    // The label draws a name that is too wide cut short; its tooltip keeps it whole.
    g.setNameFits([label = c_.cellNames[0]](const QString& name) {
        return label->fontMetrics().horizontalAdvance(name) <= label->width();
    });
    for (int i = 0; i < GalleryModel::kCells; ++i) {
        // The picture forwards to the label of its cell.
        for (CellWidget* part : {static_cast<CellWidget*>(c_.cellPictures[size_t(i)]),
                                 static_cast<CellWidget*>(c_.cellNames[size_t(i)])}) {
            connect(part, &CellWidget::moved, session_.get(), &BrowserSession::pointerOverCell);
            connect(part, &CellWidget::pressed, &g, [&g](int c, Qt::MouseButton) { g.cellPressed(c); });
            connect(part, &CellWidget::released, &g, [&g](int c, Qt::MouseButton) { g.cellReleased(c); });
            connect(part, &CellWidget::clicked, session_.get(), &BrowserSession::openPhoto);
        }
        renderCell(i);
    }
    connect(&g, &GalleryModel::cellChanged, this, &MainWindow::renderCell);
    connect(&g, &GalleryModel::scrollChanged, this, &MainWindow::renderScroll);
    connect(c_.galleryField, &GalleryField::mouseMoved, session_.get(), &BrowserSession::pointerOverField);
    connect(c_.galleryField, &GalleryField::mouseReleased, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
                if (b == Qt::RightButton)
                    session_->backgroundReleased(b);
            });
    QScrollBar* bar = c_.galleryScroll;
    auto settle = [this, bar] {
        bar->setCursor(scrollRest_);
        session_->scrolledTo(bar->value());
    };
    connect(bar, &QScrollBar::valueChanged, this, [bar, settle](int) {
        if (!bar->isSliderDown())
            settle();
    });
    connect(bar, &QScrollBar::sliderReleased, this, settle);
    connect(bar, &QScrollBar::sliderMoved, this, [this, bar](int) {
        bar->setCursor(scrollMove_);
        session_->scrollDragged(bar->sliderPosition(), mapFromGlobal(QCursor::pos()));
    });
}

void MainWindow::renderLooks(const ButtonId& id)
{
    button(id)->setLooks(session_->buttons().mask(id));
    button(id)->spokenMayHaveChanged();
}

// True when a change should wait for the end of the current frame; the
// frame timer then paints it.
bool MainWindow::deferWhileDrawing(bool* pending)
{
    if (!session_->drawing() || !sincePaint_.isValid() || sincePaint_.elapsed() >= kFrameMs) {
        sincePaint_.start();
        return false;
    }
    *pending = true;
    if (!frame_.isActive())
        frame_.start(int(kFrameMs - sincePaint_.elapsed()));
    return true;
}

void MainWindow::paintPending()
{
    frame_.stop();
    sincePaint_.start();
    if (std::exchange(messagePending_, false))
        paintMessage();
    if (std::exchange(progressPending_, false))
        paintProgress();
}

void MainWindow::renderMessage()
{
    if (!deferWhileDrawing(&messagePending_))
        paintMessage();
}

void MainWindow::paintMessage()
{
    c_.messageStrip->cls();
    c_.messageStrip->print(session_->strips().messageText());
}

void MainWindow::renderCondition()
{
    const StatusStrips& s = session_->strips();
    if (c_.conditionStrip->text() != s.conditionText()) {
        c_.conditionStrip->cls();
        c_.conditionStrip->print(s.conditionText());
    }
    c_.conditionStrip->move(int(std::lround(s.conditionLeft())), s.conditionTop());
    c_.conditionStrip->setVisible(s.conditionShown());
}

void MainWindow::renderProgress()
{
    c_.thumbnailButton->spokenMayHaveChanged();  // "continue" while a drawing is interrupted
    if (c_.progressBar->isVisible() == session_->strips().progressShown() && deferWhileDrawing(&progressPending_))
        return;
    paintProgress();
}

void MainWindow::paintProgress()
{
    c_.progressBar->setVisible(session_->strips().progressShown());
    if (c_.progressBar->percent() != session_->strips().progressPercent())
        c_.progressBar->drawProgress(session_->strips().progressPercent());
}

void MainWindow::renderHelpBox()
{
    const StatusStrips::HelpBox& h = session_->strips().helpBox();
    HelpBox* box = c_.helpBox;
    box->setText(h.text);
    if (h.besidePointer)
        box->move(h.at.x() - (box->width() + 15), h.at.y() - (box->height() + 30));
    else
        box->move(h.at);
    if (h.shown)
        box->raise();
    box->setVisible(h.shown);
}

void MainWindow::renderCell(int i)
{
    const GalleryModel::Cell& cell = session_->gallery().cell(i);
    ThumbnailCell* picture = c_.cellPictures[size_t(i)];
    NameLabel* label = c_.cellNames[size_t(i)];
    if (cell.picture.isNull())
        picture->clearPicture();
    else
        picture->setPicture(cell.picture);
    picture->setVisible(cell.pictureShown);
    picture->setEnabled(cell.pictureEnabled);
    picture->setAccessibleName(cell.caption);
    label->setCaption(cell.caption);
    label->setToolTip(cell.tooltip);
    picture->setAccessibleDescription(cell.note);
    label->setAccessibleDescription(cell.note);
    label->setColour(colourOf(cell.colour));
    label->setVisible(cell.labelShown);
    label->setEnabled(cell.labelEnabled);
    keepGalleryStop();
    const int x = i % 4, y = i / 4;
    if (cell.pressed) {
        picture->setGeometry(10 + 109 * x, 9 + 109 * y, 98, 84);
        label->setGeometry(10 + 109 * x, 93 + 109 * y, 98, 14);
    } else {
        picture->setGeometry(9 + 109 * x, 8 + 109 * y, 100, 85);
        label->setGeometry(9 + 109 * x, 92 + 109 * y, 100, 16);
    }
}

void MainWindow::renderScroll()
{
    const GalleryModel& g = session_->gallery();
    QSignalBlocker block(c_.galleryScroll);  // the session moved it: no page redraw
    c_.galleryScroll->setMaximum(g.scrollMaximum());
    c_.galleryScroll->setValue(g.scrollValue());
}

// ---- window ---------------------------------------------------------------------

void MainWindow::catalogueLoaded()
{
    session_->catalogueLoaded();
}

void MainWindow::fitOuterFrame()
{
    QMargins frame;
    if (QWindow* w = windowHandle())
        frame = w->frameMargins();
    const QSize inner(kOuterWidth - frame.left() - frame.right(), kOuterHeight - frame.top() - frame.bottom());
    if (size() != inner)
        setFixedSize(inner);
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect avail = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const int top = avail.top() + (avail.height() - kOuterHeight) / 2;
    const int left = avail.width() <= 640 ? avail.left() : avail.left() + (avail.width() - kOuterWidth) / 2;
    if (frameGeometry().topLeft() != QPoint(left, top))
        move(left, top);
}

void MainWindow::prepareFrame(const std::function<bool(QWindow*)>& askFrame)
{
    framing_ = true;
    // The welcome line's first tick comes once the window is on the screen.
    session_->strips().stopWelcome();
    create();
    if (askFrame)
        frameAsked_ = askFrame(windowHandle());
}

bool MainWindow::frameKnown() const
{
    // Without a way to ask, the frame is known only after mapping; the
    // corrections after the show then fit it.
    if (!frameAsked_)
        return true;
    const QWindow* w = windowHandle();
    return w && !w->frameMargins().isNull();
}

void MainWindow::showPlaced()
{
    framing_ = false;
    fitOuterFrame();
    show();
    raise();
    activateWindow();
    session_->strips().startWelcome();
    // A window manager that told no frame yet may still do so.
    for (int ms : {50, 200, 600})
        QTimer::singleShot(ms, this, &MainWindow::fitOuterFrame);
}

void MainWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (framing_)
        return;
    fitOuterFrame();
    // The window manager reports its frame only after mapping the window.
    for (int ms : {50, 200, 600})
        QTimer::singleShot(ms, this, &MainWindow::fitOuterFrame);
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ArtPalette::windowBackground());
    // Each panel sits on a cream card behind its caption and buttons.
    for (int k = 0; k < 5; ++k) {
        const int bottom = kPanelBottom[k] + 32 + 4;
        p.fillRect(QRect(4, kCaptionTop[k] - 4, 200, bottom - kCaptionTop[k] + 4), ArtPalette::panelBackground());
    }
    p.fillRect(QRect(4, 396, 200, 40), ArtPalette::panelBackground());
    p.setPen(ArtPalette::panelCaption().lighter(160));
    p.drawLine(8, 386, 192, 386);
    p.setPen(Qt::white);
    p.drawLine(10, 387, 194, 387);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        for (QLabel* c : c_.captions)
            if (watched == c) {
                session_->pointerOverCaption();
                return true;
            }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::mouseMoveEvent(QMouseEvent*)
{
    session_->pointerOverBackground();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* e)
{
    session_->backgroundReleased(e->button());
}

void MainWindow::setPointerWatch(bool on)
{
    if (on)
        pointerWatch_.start(100);
    else
        pointerWatch_.stop();
}

void MainWindow::watchPointer()
{
    const QPoint p = QCursor::pos();
    const QRect outer = frameGeometry();
    const int L = outer.x(), T = outer.y(), W = outer.width(), H = outer.height();
    if (p.x() < L || p.x() > L + W || p.y() < T || p.y() > T + H)
        session_->pointerLeftWindow();
    const int left = L + c_.galleryField->x();
    const int right = L + W - c_.galleryScroll->width();
    const int top = T + (H - height());
    const int bottom = T + H - c_.messageStrip->height();
    if (p.x() < left || p.x() > right || p.y() < top || p.y() > bottom)
        session_->pointerLeftThumbnails();
}

void MainWindow::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1) {
        if (!e->isAutoRepeat())
            session_->helpKeyReleased();
        return;
    }
    QWidget::keyReleaseEvent(e);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    shutdown();
    e->accept();
}

void MainWindow::shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    session_->stopDrawing();  // a running drawing stops at its next step
    // Pictures read ahead would keep the process alive after its windows.
    session_->gallery().stopReadAhead();
    // Photo windows close first, so that nothing viewed is left out.
    session_->photos().closeAll();
    session_->history().save(app_.settings());
    app_.platform().sound.stopAll();
    // After this event: every other window closes and the program ends. Tied
    // to this window, so that a window already gone ends nothing more.
    QTimer::singleShot(0, this, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
}

// ---- the keyboard -------------------------------------------------------------

void MainWindow::bindKeyboard()
{
    for (const ButtonId& id : allButtons()) {
        button(id)->setKeyHandler(
            [this, id](PictureButton::Key key, Qt::KeyboardModifiers m) { onButtonKey(id, key, m); });
        setSpoken(id);
    }
    // Only the group's current member is a Tab stop: mouse clicks never
    // take the focus, so a mouse user never sees a focus mark.
    QWidget* previous = nullptr;
    for (int g = 0; g < kGroups; ++g) {
        const std::vector<PictureButton*> members = group(g);
        members.front()->setFocusPolicy(Qt::TabFocus);
        if (previous)
            setTabOrder(previous, members.front());
        for (size_t i = 1; i < members.size(); ++i)
            setTabOrder(members[i - 1], members[i]);
        previous = members.back();
    }
    for (int i = 0; i < GalleryModel::kCells; ++i) {
        NameLabel* label = c_.cellNames[size_t(i)];
        setTabOrder(previous, label);
        previous = label;
        connect(label, &CellWidget::focusedByKey, this, [this](int cell) {
            markCell(cell, true);
            session_->focusCell(cell);  // the name turns yellow, as pointing does
        });
        connect(label, &CellWidget::focusLost, this, [this](int cell) { markCell(cell, false); });
        connect(label, &CellWidget::activated, this, &MainWindow::activateCell);
        // A screen reader may press the picture as well as the name.
        connect(c_.cellPictures[size_t(i)], &CellWidget::activated, this, &MainWindow::activateCell);
    }
    c_.cellNames[0]->setFocusPolicy(Qt::TabFocus);
    keepGalleryStop();
}

void MainWindow::setSpoken(const ButtonId& id)
{
    button(id)->setSpoken([this, id] {
        const BrowserSession& s = *session_;
        return PictureButton::Spoken{s.spokenName(id), s.spokenDescription(id), id.kind == ButtonId::Kind::Attribute,
                                     s.checked(id)};
    });
}

void MainWindow::onButtonKey(const ButtonId& id, PictureButton::Key key, Qt::KeyboardModifiers modifiers)
{
    using K = PictureButton::Key;
    switch (key) {
    case K::Focused: session_->focusButton(id); break;
    case K::Activate: session_->activateButton(id, modifiers); break;
    case K::HelpPressed: session_->helpKeyPressed(id); break;
    case K::HelpReleased: session_->helpKeyReleased(); break;
    }
}

std::vector<PictureButton*> MainWindow::group(int g) const
{
    if (g == 5)
        return {c_.thumbnailButton, c_.allDataButton, c_.clearButton, c_.quitButton};
    std::vector<PictureButton*> members;
    members.reserve(size_t(CategoryTables::valueCount(g)));
    for (int i = 0; i < CategoryTables::valueCount(g); ++i)
        members.push_back(c_.attr[size_t(g)][size_t(i)]);
    return members;
}

void MainWindow::moveInGroup(int g, int to)
{
    const std::vector<PictureButton*> members = group(g);
    if (to < 0 || to >= int(members.size()) || members[size_t(to)]->isHidden())
        return;
    members[size_t(groupCurrent_[size_t(g)])]->setFocusPolicy(Qt::NoFocus);
    groupCurrent_[size_t(g)] = to;
    members[size_t(to)]->setFocusPolicy(Qt::TabFocus);
    members[size_t(to)]->setFocus(Qt::OtherFocusReason);
}

// Left and right step along a panel; up and down change its row of six.
bool MainWindow::arrowInGroup(int key)
{
    for (int g = 0; g < kGroups; ++g) {
        const std::vector<PictureButton*> members = group(g);
        const auto at = std::find(members.begin(), members.end(), focusWidget());
        if (at == members.end())
            continue;
        const int i = int(at - members.begin());
        const int row = g == 5 ? int(members.size()) : 6;
        switch (key) {
        case Qt::Key_Left: moveInGroup(g, i - 1); return true;
        case Qt::Key_Right: moveInGroup(g, i + 1); return true;
        case Qt::Key_Up: moveInGroup(g, i - row); return true;
        case Qt::Key_Down: moveInGroup(g, i + row); return true;
        default: return false;
        }
    }
    return false;
}

void MainWindow::focusCell(int i)
{
    NameLabel* to = c_.cellNames[size_t(i)];
    if (to->isHidden())
        return;
    c_.cellNames[size_t(cellCurrent_)]->setFocusPolicy(Qt::NoFocus);
    cellCurrent_ = i;
    to->setFocusPolicy(Qt::TabFocus);
    to->setFocus(Qt::OtherFocusReason);
}

// The arrows move between the cells; past the top or bottom row they
// scroll the gallery by a row, as the scroll bar's arrows do.
bool MainWindow::arrowInGallery(int key)
{
    const auto at = std::find(c_.cellNames.begin(), c_.cellNames.end(), focusWidget());
    if (at == c_.cellNames.end())
        return false;
    const int i = int(at - c_.cellNames.begin());
    const int cols = 4;
    switch (key) {
    case Qt::Key_Left:
        if (i % cols > 0)
            focusCell(i - 1);
        return true;
    case Qt::Key_Right:
        if (i % cols < cols - 1)
            focusCell(i + 1);
        return true;
    case Qt::Key_Up:
        if (i >= cols)
            focusCell(i - cols);
        else
            c_.galleryScroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return true;
    case Qt::Key_Down:
        if (i + cols < GalleryModel::kCells && !c_.cellNames[size_t(i) + size_t(cols)]->isHidden())
            focusCell(i + cols);
        else
            c_.galleryScroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    default: return false;
    }
}

void MainWindow::markCell(int i, bool on)
{
    c_.cellNames[size_t(i)]->setFocusMark(on);
    c_.cellPictures[size_t(i)]->setFocusMark(on);
}

// Enter on a cell: the pointer's click on its name.
void MainWindow::activateCell(int i)
{
    GalleryModel& g = session_->gallery();
    session_->focusCell(i);
    g.cellPressed(i);
    g.cellReleased(i);
    session_->openPhoto(i);
}

// The gallery stays a Tab stop while it shows a name: when the current
// cell empties, the first cell takes its place.
void MainWindow::keepGalleryStop()
{
    NameLabel* current = c_.cellNames[size_t(cellCurrent_)];
    if (!current->isHidden() || current->hasFocus())
        return;
    current->setFocusPolicy(Qt::NoFocus);
    cellCurrent_ = 0;
    c_.cellNames[0]->setFocusPolicy(Qt::TabFocus);
}

void MainWindow::openMenuByKey()
{
    QWidget* at = focusWidget() ? focusWidget() : this;
    keyMenuAt_ = at->mapToGlobal(at->rect().center());
    session_->menuKey();
    keyMenuAt_.reset();  // a refused menu leaves no place behind
}

void MainWindow::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier)) {
        openMenuByKey();
        return;
    }
    if (key == Qt::Key_F1) {
        // The focus is not on a button: F1 explains the one last pointed
        // at. A held key's repeats are no new presses.
        if (!e->isAutoRepeat())
            session_->helpKeyPressed();
        return;
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        c_.galleryScroll->triggerAction(key == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub
                                                              : QAbstractSlider::SliderPageStepAdd);
        return;
    }
    if (arrowInGroup(key) || arrowInGallery(key))
        return;
    QWidget::keyPressEvent(e);
}
