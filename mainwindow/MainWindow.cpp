#include "mainwindow/MainWindow.h"

#include "session/AppContext.h"
#include "mainwindow/MainMenu.h"
#include "assets/ArtPalette.h"
#include "assets/ButtonArt.h"
#include "assets/CursorFile.h"
#include "mainwindow/Gallery.h"
#include "mainwindow/PhotoWindows.h"
#include "catalogue/CategoryTables.h"
#include "widgets/GalleryField.h"
#include "widgets/NameLabel.h"
#include "widgets/ProgressBox.h"
#include "widgets/ThumbnailCell.h"
#include "platform/Beeper.h"
#include "platform/SoundPlayer.h"
#include "mainwindow/AttributePanels.h"
#include "mainwindow/CommandButtons.h"
#include "widgets/HelpBox.h"
#include "mainwindow/Looks.h"
#include "widgets/PictureButton.h"
#include "widgets/PrintSurface.h"
#include "mainwindow/SearchController.h"
#include "mainwindow/SearchStatus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <cmath>

const char* const MainWindow::kCaption = "ソノハ Version 3.47";

namespace {

const char* const kCaptions[5] = {"花の咲く季節", "花の色", "花弁（花びら）の形・数", "葉のつき方", "科"};
const int kCaptionTop[5] = {8, 72, 136, 232, 296};
const int kRowTop[5][2] = {{24, 24}, {88, 88}, {152, 184}, {248, 248}, {312, 344}};

// Top-left of button i of a panel: six to a row.
QPoint buttonPos(int category, int i)
{
    const bool second = i >= 6;
    return {8 + 32 * (second ? i - 6 : i), kRowTop[category][second ? 1 : 0]};
}

int artScale(const QWidget* w)
{
    return std::max(1, int(std::ceil(w->devicePixelRatioF())));
}

QPixmap pix(const QImage& image)
{
    return QPixmap::fromImage(image);
}

}  // namespace

MainWindow::MainWindow(AppContext& app, const std::function<void(const QString&)>& setLoadingText)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , app_(app)
    , form_(app, this)
{
    if (setLoadingText)
        setLoadingText(QStringLiteral("初期化中です..."));
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QIcon(pix(ButtonArt::appIcon(64))));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QImage hand = ButtonArt::pointingHand(artScale(this));
    pointingHand_ = QCursor(pix(hand), ButtonArt::pointingHandHotSpot().x(), ButtonArt::pointingHandHotSpot().y());

    form_.history.load(app.settings());
    resize(kOuterWidth, kOuterHeight);  // until the frame is known
    createGallery();
    createPanels();
    createCommandButtons();
    createStrips();
    applyFonts();

    loadCursors();
    form_.Form1_Form_MouseUp = [this](int button) { Form1_Form_MouseUp(button); };
    form_.gallery = new Gallery(form_);
    form_.photos = new PhotoWindows(form_);
    form_.status = new SearchStatus(form_);
    form_.searcher = new SearchController(form_);
    form_.panels = new AttributePanels(form_);
    form_.commands = new CommandButtons(form_);
    form_.menu = new MainMenu(form_);

    connect(form_.pctKensaku, &PrintSurface::mouseReleased, this,
            [this](int button, int shift, QPoint pos) { form_.status->Form1_pctKensaku_MouseUp(button, shift, pos); });
    connect(form_.pctMsg, &PrintSurface::mouseMoved, this, [this] { form_.status->ResetHover(); });

    form_.Timer2 = new QTimer(this);
    connect(form_.Timer2, &QTimer::timeout, this, &MainWindow::Form1_Timer2_Timer);
    form_.Timer2->start(30);
    form_.Timer3 = new QTimer(this);
    connect(form_.Timer3, &QTimer::timeout, this, &MainWindow::Form1_Timer3_Timer);
    form_.Timer3->start(100);
}

MainWindow::~MainWindow()
{
    delete form_.menu;
    delete form_.commands;
    delete form_.panels;
    delete form_.searcher;
    delete form_.status;
    delete form_.photos;
    delete form_.gallery;
}

void MainWindow::loadCursors()
{
    form_.pointingHand = pointingHand_;
    auto fromFile = [&](const char* name) {
        QFile f(app_.pathOf(QString::fromLatin1(name)));
        QImage image;
        QPoint hot;
        if (f.open(QIODevice::ReadOnly) && CursorFile::read(f.readAll(), &image, &hot))
            return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
        return QCursor(Qt::ArrowCursor);  // a missing cursor file is no reason to stop
    };
    form_.scrollRest = fromFile("H_point.cur");
    form_.scrollMove = fromFile("H_move.cur");
    form_.VScroll1->setCursor(form_.scrollRest);
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
        form_.captions[size_t(k)] = caption;
        for (int i = 0; i < CategoryTables::valueCount(k); ++i) {
            auto* b = new PictureButton(this);
            using L = ButtonArt::AttributeLook;
            // Front to back: pressed, selected, selected pointed, pointed, idle.
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Pressed, scale)), false);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Selected, scale)), false);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::SelectedPointed, scale)), true);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Pointed, scale)), true);
            b->addLook(pix(ButtonArt::attributeButton(k, i, L::Unselected, scale)), false);
            b->setPointingCursor(pointingHand_);
            b->move(buttonPos(k, i));
            b->showLook(AttrLook::OFF);
            form_.attr[size_t(k)][size_t(i)] = b;
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
    form_.imgSam = make(8);
    // Order as SamLook: pressed 1, pressed 0, pointed 1, pointed 0, idle 1, idle 0.
    form_.imgSam->addLook(pix(ButtonArt::commandButton(C::Pause, L::Pressed, scale)), false);
    form_.imgSam->addLook(pix(ButtonArt::commandButton(C::Play, L::Pressed, scale)), false);
    form_.imgSam->addLook(pix(ButtonArt::commandButton(C::Pause, L::Pointed, scale)), true);
    form_.imgSam->addLook(pix(ButtonArt::commandButton(C::Play, L::Pointed, scale)), true);
    form_.imgSam->addLook(pix(ButtonArt::commandButton(C::Pause, L::Idle, scale)), false);
    form_.imgSam->addLook(pix(ButtonArt::commandButton(C::Play, L::Idle, scale)), false);
    form_.imgSam->showLook(SamLook::OFF0);

    struct CommandSlot {
        PictureButton** slot;
        int left;
        C command;
    } buttons[] = {{&form_.imgAll, 56, C::AllData}, {&form_.imgClear, 104, C::Clear}, {&form_.imgQuit, 152, C::Quit}};
    for (const CommandSlot& s : buttons) {
        PictureButton* b = make(s.left);
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Pressed, scale)), false);
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Latched, scale)), false);
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Pointed, scale)), true);
        b->addLook(pix(ButtonArt::commandButton(s.command, L::Idle, scale)), false);
        b->showLook(CmdLook::OFF);
        *s.slot = b;
    }
}

void MainWindow::createGallery()
{
    form_.pctFIELD = new GalleryField(this);
    form_.pctFIELD->setGeometry(208, 0, 448, 444);
    for (int i = 0; i < 16; ++i) {
        const int x = (i % 4) * 109 + 9, y = (i / 4) * 109;
        auto* cell = new ThumbnailCell(i, form_.pctFIELD);
        cell->setGeometry(x, y + 8, 100, 85);
        auto* label = new NameLabel(i, form_.pctFIELD);
        label->setGeometry(x, y + 92, 100, 16);
        cell->setCursor(pointingHand_);
        label->setCursor(pointingHand_);
        form_.pctPicture[size_t(i)] = cell;
        form_.lblNAMAE[size_t(i)] = label;
    }
    form_.VScroll1 = new QScrollBar(Qt::Vertical, this);
    form_.VScroll1->setGeometry(655, 0, 16, 444);
    form_.VScroll1->setRange(0, 0);
}

void MainWindow::createStrips()
{
    form_.pctMsg = new PrintSurface(this);
    form_.pctMsg->setGeometry(1, 444, 669, 19);
    form_.pctMsg->setColours(ArtPalette::stripBackground(), ArtPalette::stripText());
    form_.pctContena = new QWidget(this);
    form_.pctContena->setGeometry(402, 444, 269, 19);
    form_.pctKensaku = new PrintSurface(form_.pctContena);
    form_.pctKensaku->setGeometry(0, 1, 1800, 22);
    form_.pctKensaku->setColours(ArtPalette::stripBackground().darker(104), ArtPalette::stripText());
    form_.pctKensaku->setCursor(pointingHand_);
    form_.pctProg = new ProgressBox(this);
    form_.pctProg->setGeometry(form_.pctContena->geometry());
    form_.pctProg->setForeground(QColor(0, 0, 255));
    form_.txtKaisetu = new HelpBox(this);
    form_.txtKaisetu->raise();
}

void MainWindow::applyFonts()
{
    auto fontOf = [&](int nominal) {
        QFont f = QApplication::font();
        f.setPointSize(app_.fontSize(nominal));
        return f;
    };
    for (NameLabel* l : form_.lblNAMAE)
        l->setFont(fontOf(9));
    form_.pctProg->setFont(fontOf(9));
    form_.txtKaisetu->setFont(fontOf(10));
    form_.pctMsg->setFont(fontOf(10));
    form_.pctKensaku->setFont(fontOf(10));
    for (QLabel* c : form_.captions) {
        c->setFont(fontOf(11));
        c->adjustSize();
    }
}

void MainWindow::catalogueLoaded()
{
    form_.engine.rebuild();
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

void MainWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
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
        const int bottom = kRowTop[k][1] + 32 + 4;
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
        for (QLabel* c : form_.captions)
            if (watched == c) {
                form_.status->ResetHover();
                return true;
            }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::mouseMoveEvent(QMouseEvent*)
{
    Form1_Form_MouseMove();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* e)
{
    Form1_Form_MouseUp(PictureButton::buttonCode(e->button()));
}

void MainWindow::Form1_Form_MouseMove()
{
    form_.status->ResetHover();
    form_.status->ShowConditions();
    if (form_.welcomeRunning())
        return;
    form_.pctMsg->cls();
    if (form_.search.DrawRequested || form_.imgAll->isLookVisible(CmdLook::on2) || form_.search.lstHANA.any())
        form_.pctMsg->print(form_.search.StatusMessage);
    else
        form_.pctMsg->print(QStringLiteral("目的の箇所をクリックしてください。"));
}

void MainWindow::Form1_Form_MouseUp(int button)
{
    if (form_.pctProg->isVisible() && !form_.search.DrawSuspended) {
        app_.platform().beeper.beep();
        return;
    }
    if (button != 2)
        return;
    form_.menu->popup(QCursor::pos());
}

void MainWindow::Form1_Timer2_Timer()
{
    const WelcomeLine::Tick t = welcome_.tick(form_.search.StatusMessage);
    form_.pctMsg->cls();
    form_.pctMsg->print(t.text);
    if (t.nextInterval > 0)
        form_.Timer2->setInterval(t.nextInterval);
    else
        form_.Timer2->stop();
}

void MainWindow::Form1_Timer3_Timer()
{
    const QPoint p = QCursor::pos();
    const QRect outer = frameGeometry();
    const int L = outer.x(), T = outer.y(), W = outer.width(), H = outer.height();
    if (p.x() < L || p.x() > L + W || p.y() < T || p.y() > T + H)
        form_.status->ResetHover();
    const int left = L + form_.pctFIELD->x();
    const int right = L + W - form_.VScroll1->width();
    const int top = T + (H - height());
    const int bottom = T + H - form_.pctMsg->height();
    if (p.x() < left || p.x() > right || p.y() < top || p.y() > bottom)
        for (NameLabel* l : form_.lblNAMAE)
            if (l->colour() == NameLabel::kYellow)
                l->setColour(NameLabel::kGreen);
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
    form_.search.DrawInterrupt = form_.search.DrawBusy;  // a running drawing stops at its next step
    // Photo windows close first, so that nothing viewed is left out.
    form_.status->CloseAllPhotos();
    form_.history.save(app_.settings());
    app_.platform().sound.stopAll();
    QTimer::singleShot(0, qApp, &QApplication::closeAllWindows);
    QTimer::singleShot(0, qApp, &QApplication::quit);
}
