#include "slideshow/SlideshowPanel.h"

#include "session/AppContext.h"
#include "slideshow/BackgroundMusic.h"
#include "slideshow/PanelButton.h"
#include "slideshow/SlideInterval.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

struct ButtonText {
    PanelMotif motif;
    const char* idle;
    const char* pressed;  // empty: the button has no pressed tooltip
    int tipLeft;  // twips from the button
    int tipTop;
};

const ButtonText kText[SlideshowPanel::kButtons] = {
    {PanelMotif::Book, "解説を表示", "解説を非表示", 400, 300},
    {PanelMotif::Flower, "草花名，科を表示", "草花名，科を非表示", 400, 300},
    {PanelMotif::Sunset, "スライドショーの終了", "", 450, 300},
    {PanelMotif::Notes, "BGMの選曲", "BGMを非表示", 450, 300},
    {PanelMotif::Stopwatch, "インターバルの設定", "インターバルを更新", 400, 400},
};

// Top to bottom the column reads: name, description, music, interval, quit.
const SlideshowPanel::Button kColumn[SlideshowPanel::kButtons] = {
    SlideshowPanel::Button::Name, SlideshowPanel::Button::Description, SlideshowPanel::Button::Music,
    SlideshowPanel::Button::Interval, SlideshowPanel::Button::Quit};

const char* const kLightGrey = "color: #E0E0E0; background: transparent;";

// The rings are drawn here too: on black, the style's own would vanish.
const char* const kChoiceStyle =
    "QRadioButton { color: #E0E0E0; background: black; }"
    "QRadioButton::indicator { width: 9px; height: 9px; border: 1px solid #E0E0E0; border-radius: 5px;"
    " background: black; }"
    "QRadioButton::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5,"
    " stop:0 #E0E0E0, stop:0.55 #E0E0E0, stop:0.6 black); }";

}  // namespace

SlideshowPanel::SlideshowPanel(AppContext& app, QWidget* window, int smallFontPt)
    : QObject(window)
    , app_(app)
    , window_(window)
{
    build(smallFontPt);
    connectButtons();
}

int SlideshowPanel::px(int twips) const
{
    return twips / app_.screen().twipsPerPixelX();
}

int SlideshowPanel::py(int twips) const
{
    return twips / app_.screen().twipsPerPixelY();
}

void SlideshowPanel::build(int smallFontPt)
{
    QFont small = window_->font();
    small.setPointSize(std::max(smallFontPt, 1));
    for (int b = 0; b < kButtons; ++b) {
        const bool insideOnly = b <= int(Button::Quit);
        buttons_[size_t(b)] = new PanelButton(
            kText[b].motif, insideOnly ? PanelButton::Release::InsideOnly : PanelButton::Release::Anywhere,
            b != int(Button::Quit), window_);
        buttons_[size_t(b)]->setAccessibleName(QString::fromUtf8(kText[b].idle));
        QLabel* tip = new QLabel(window_);
        tip->setStyleSheet(QString::fromLatin1(kLightGrey));
        tip->setFont(small);
        tip->setAttribute(Qt::WA_TransparentForMouseEvents);
        tip->hide();
        tips_[size_t(b)] = tip;
    }
    intervalBox_ = new QLineEdit(window_);
    intervalBox_->setMaxLength(SlideInterval::kMaxChars);
    intervalBox_->setFont(small);
    intervalBox_->setAttribute(Qt::WA_InputMethodEnabled, false);
    intervalBox_->setFixedWidth(intervalBox_->fontMetrics().horizontalAdvance(QStringLiteral("99")) + 12);
    intervalBox_->installEventFilter(this);
    intervalBox_->hide();
    secondsLabel_ = new QLabel(QStringLiteral("秒（1～99）"), window_);
    secondsLabel_->setStyleSheet(QString::fromLatin1(kLightGrey));
    secondsLabel_->setFont(small);
    secondsLabel_->adjustSize();
    secondsLabel_->hide();

    auto* group = new QButtonGroup(this);
    for (int i = 0; i < kChoices; ++i) {
        auto* r = new QRadioButton(BackgroundMusic::caption(i), window_);
        r->setStyleSheet(QString::fromLatin1(kChoiceStyle));
        r->setFont(small);
        r->setFocusPolicy(Qt::NoFocus);
        r->setMouseTracking(true);
        r->adjustSize();
        r->installEventFilter(this);
        group->addButton(r, i);
        choices_[size_t(i)] = r;
    }
}

void SlideshowPanel::connectButtons()
{
    for (int b = 0; b < kButtons; ++b) {
        PanelButton* w = buttons_[size_t(b)];
        const Button id = Button(b);
        connect(w, &PanelButton::pointed, this, [this, id](bool pressedLook) { showTip(id, pressedLook); });
        connect(w, &PanelButton::closeMissed, tips_[size_t(b)], &QWidget::hide);
    }
    connect(button(Button::Description), &PanelButton::cancelled, tooltip(Button::Description), &QWidget::hide);

    // While a button is kept pressed its name says what its release does.
    for (Button b : {Button::Description, Button::Name, Button::Music, Button::Interval}) {
        PanelButton* w = button(b);
        connect(w, &PanelButton::opened, w, [w, b] { w->setAccessibleName(QString::fromUtf8(kText[int(b)].pressed)); });
        connect(w, &PanelButton::lookChanged, w, [w, b](PanelLook look) {
            if (look == PanelLook::Idle)
                w->setAccessibleName(QString::fromUtf8(kText[int(b)].idle));
        });
    }
    auto toggle = [this](Button b, void (SlideshowPanel::*signal)()) {
        connect(button(b), &PanelButton::opened, this, signal);
        connect(button(b), &PanelButton::closing, this, [this, b, signal] {
            emit(this->*signal)();
            button(b)->setLook(PanelLook::Idle);
        });
    };
    toggle(Button::Description, &SlideshowPanel::descriptionToggled);
    toggle(Button::Name, &SlideshowPanel::nameToggled);
    connect(button(Button::Quit), &PanelButton::opened, this, &SlideshowPanel::quitRequested);
    connect(button(Button::Music), &PanelButton::opened, this, &SlideshowPanel::openMusicList);
    connect(button(Button::Music), &PanelButton::closing, this, &SlideshowPanel::closeMusicList);
    connect(button(Button::Interval), &PanelButton::opened, this, &SlideshowPanel::openInterval);
    connect(button(Button::Interval), &PanelButton::closing, this, &SlideshowPanel::applyInterval);
}

void SlideshowPanel::layout()
{
    int top = py(300);
    for (Button b : kColumn) {
        PanelButton* w = button(b);
        w->move(px(300), top);
        tooltip(b)->move(w->x() + px(kText[int(b)].tipLeft), w->y() + py(kText[int(b)].tipTop));
        top = w->y() + w->height() + py(300);
    }
    const PanelButton* interval = button(Button::Interval);
    intervalBox_->move(interval->x() + interval->width() + px(100), interval->y());
    secondsLabel_->move(intervalBox_->x() + intervalBox_->width() + px(80), intervalBox_->y() + py(60));

    const PanelButton* quit = button(Button::Quit);
    int choiceTop = quit->y() + quit->height() + py(300);
    for (QRadioButton* r : choices_) {
        r->move(-r->width(), choiceTop);
        choiceTop += r->height();
    }
}

void SlideshowPanel::showTip(Button b, bool pressedLook)
{
    const ButtonText& t = kText[int(b)];
    const char* text = pressedLook ? t.pressed : t.idle;
    if (!*text)
        return;
    QLabel* tip = tooltip(b);
    tip->setText(QString::fromUtf8(text));
    tip->adjustSize();
    tip->show();
    tip->raise();
}

void SlideshowPanel::resetHover()
{
    for (PanelButton* w : buttons_)
        if (w->look() == PanelLook::Hover)
            w->setLook(PanelLook::Idle);
    for (QLabel* tip : tips_)
        tip->hide();
}

bool SlideshowPanel::musicListOpen() const
{
    return choices_[0]->x() >= 0;
}

void SlideshowPanel::openMusicList()
{
    const int music = app_.settings().readBgm(BackgroundMusic::kRandom);
    if (music >= 0 && music < kChoices)
        choices_[size_t(music)]->setChecked(true);
    for (QRadioButton* r : choices_) {
        r->move(px(300), r->y());
        r->raise();
    }
}

void SlideshowPanel::closeMusicList()
{
    for (QRadioButton* r : choices_)
        r->move(-r->width(), r->y());
    button(Button::Music)->setLook(PanelLook::Idle);
}

void SlideshowPanel::openInterval()
{
    intervalBox_->setText(QString::number(app_.settings().readSlideSeconds()));
    intervalBox_->show();
    secondsLabel_->show();
    intervalBox_->setFocus();
}

bool SlideshowPanel::applyInterval()
{
    const QString text = intervalBox_->text();
    const std::optional<int> seconds = SlideInterval::accept(text);
    if (!seconds) {
        intervalBox_->clear();
        return false;
    }
    emit intervalApplied(*seconds);
    app_.settings().writeSlideSecondsText(text);
    intervalBox_->hide();
    secondsLabel_->hide();
    button(Button::Interval)->setLook(PanelLook::Idle);
    window_->setFocus();
    return true;
}

bool SlideshowPanel::intervalKey(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return applyInterval();
    const QString typed = e->text();
    return !typed.isEmpty() && !SlideInterval::keeps(typed.front());
}

bool SlideshowPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == intervalBox_) {
        if (event->type() == QEvent::KeyPress)
            return intervalKey(static_cast<QKeyEvent*>(event));
        return false;
    }
    for (int i = 0; i < kChoices; ++i) {
        if (watched != choices_[size_t(i)])
            continue;
        switch (event->type()) {
        case QEvent::MouseMove: resetHover(); return false;
        case QEvent::MouseButtonPress:
            choices_[size_t(i)]->setChecked(true);
            emit musicPressed();
            return true;
        case QEvent::MouseButtonRelease:
            app_.settings().writeBgm(i);
            emit musicChosen(i);
            return true;
        default: return false;
        }
    }
    return false;
}
