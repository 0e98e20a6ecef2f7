#include "slideshow/SlideshowPanel.h"

#include "session/AppContext.h"
#include "slideshow/BackgroundMusic.h"
#include "slideshow/PanelButton.h"
#include "slideshow/SlideInterval.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

namespace {

struct ButtonText {
    PanelMotif motif;
    PanelButton::Kind kind;
    const char* idle;
    const char* pressed;  // empty: the button has no pressed tooltip
    int tipLeft;  // twips from the button
    int tipTop;
};

const ButtonText kText[SlideshowPanel::kButtons] = {
    {PanelMotif::Book, PanelButton::Kind::Toggle, "解説を表示", "解説を非表示", 400, 300},
    {PanelMotif::Flower, PanelButton::Kind::Toggle, "草花名，科を表示", "草花名，科を非表示", 400, 300},
    {PanelMotif::Sunset, PanelButton::Kind::Command, "スライドショーの終了", "", 450, 300},
    {PanelMotif::Notes, PanelButton::Kind::Opener, "BGMの選曲", "BGMを非表示", 450, 300},
    {PanelMotif::Stopwatch, PanelButton::Kind::Opener, "インターバルの設定", "インターバルを更新", 400, 400},
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
    " stop:0 #E0E0E0, stop:0.55 #E0E0E0, stop:0.6 black); }"
    // The keyboard's place in the list: a dotted line round the choice.
    "QRadioButton { border: 1px solid black; }"
    "QRadioButton:focus { border: 1px dotted #E0E0E0; }";

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
            kText[b].kind, window_);
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
    intervalBox_->setAccessibleName(QStringLiteral("インターバル"));
    intervalBox_->installEventFilter(this);
    intervalBox_->hide();
    secondsLabel_ = new QLabel(QStringLiteral("秒（1～99）"), window_);
    secondsLabel_->setStyleSheet(QString::fromLatin1(kLightGrey));
    secondsLabel_->setFont(small);
    secondsLabel_->adjustSize();
    secondsLabel_->hide();
    intervalBox_->setAccessibleDescription(secondsLabel_->text());

    group_ = new QButtonGroup(this);
    for (int i = 0; i < kChoices; ++i) {
        auto* r = new QRadioButton(BackgroundMusic::caption(i), window_);
        r->setStyleSheet(QString::fromLatin1(kChoiceStyle));
        r->setFont(small);
        r->setFocusPolicy(Qt::TabFocus);  // for setTabOrder, which passes over NoFocus
        r->setMouseTracking(true);
        r->setAccessibleDescription(QString::fromUtf8(kText[int(Button::Music)].idle));
        r->adjustSize();
        r->installEventFilter(this);
        r->hide();
        group_->addButton(r, i);
        choices_[size_t(i)] = r;
    }
    setTabOrder();
    rovingStop();
}

// Top to bottom, with each part of the panel after the button that opens it.
void SlideshowPanel::setTabOrder()
{
    QList<QWidget*> order;
    for (Button b : {Button::Name, Button::Description, Button::Music})
        order << button(b);
    for (QRadioButton* r : choices_)
        order << r;
    order << button(Button::Interval) << intervalBox_ << button(Button::Quit);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// The music list is one stop of the Tab key, at its checked choice; the
// arrows move within it.
void SlideshowPanel::rovingStop()
{
    QAbstractButton* checked = group_->checkedButton();
    for (QRadioButton* r : choices_)
        r->setFocusPolicy(r == checked || (!checked && r == choices_[0]) ? Qt::TabFocus : Qt::NoFocus);
}

void SlideshowPanel::connectButtons()
{
    for (int b = 0; b < kButtons; ++b) {
        PanelButton* w = buttons_[size_t(b)];
        const Button id = Button(b);
        connect(w, &PanelButton::pointed, this, [this, id](bool pressedLook) { showTip(id, pressedLook); });
        connect(w, &PanelButton::closeMissed, tips_[size_t(b)], &QWidget::hide);
        connect(w, &PanelButton::focusMarkChanged, this, [this, id] { keyFocusTip(id); });
        // The tip of the button the keys are on follows its look.
        connect(w, &PanelButton::lookChanged, this, [this, id, w] {
            if (w->focusMarkShown())
                showTip(id, w->isOpen());
        });
    }
    connect(button(Button::Description), &PanelButton::cancelled, tooltip(Button::Description), &QWidget::hide);
    // A screen reader checks a choice: that is the choice made. The pointer's
    // press and release and the keys are taken apart in eventFilter.
    connect(group_, &QButtonGroup::idToggled, this, [this](int i, bool checked) {
        rovingStop();
        if (checked && !checking_)
            pressAndChoose(i);
    });

    // While an opening button is kept pressed its name says what its release
    // does; a toggle keeps its name and is checked.
    for (Button b : {Button::Music, Button::Interval}) {
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
    connect(button(Button::Interval), &PanelButton::closing, this,
            [this] { applyInterval(button(Button::Interval)->activatedByKey()); });
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
        r->move(musicOpen_ ? px(300) : -r->width(), choiceTop);
        choiceTop += r->height();
    }
    emit focusMarkChanged();
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

void SlideshowPanel::keyFocusTip(Button b)
{
    emit focusMarkChanged();
    const PanelButton* w = button(b);
    if (w->focusMarkShown())
        showTip(b, w->isOpen());
    else if (w->look() != PanelLook::Hover)
        tooltip(b)->hide();
}

QRect SlideshowPanel::focusMark() const
{
    for (const PanelButton* w : buttons_)
        if (w->focusMarkShown())
            return w->geometry().adjusted(-kMarkMargin, -kMarkMargin, kMarkMargin, kMarkMargin);
    return {};
}

void SlideshowPanel::openMusicList()
{
    const int music = app_.settings().readBgm(BackgroundMusic::kRandom);
    if (music >= 0 && music < kChoices)
        check(music);
    musicOpen_ = true;
    // Off the screen the choices are hidden too, so that a screen reader
    // does not find them showing.
    for (QRadioButton* r : choices_) {
        r->move(px(300), r->y());
        r->show();
        r->raise();
    }
    if (button(Button::Music)->activatedByKey())
        focusChoice(group_->checkedButton() ? group_->checkedButton() : choices_[0]);
}

void SlideshowPanel::closeMusicList()
{
    const bool hadFocus = std::any_of(choices_.begin(), choices_.end(), [](QWidget* r) { return r->hasFocus(); });
    if (hadFocus)
        button(Button::Music)->setFocus(Qt::OtherFocusReason);
    musicOpen_ = false;
    for (QRadioButton* r : choices_) {
        r->move(-r->width(), r->y());
        r->hide();
    }
    button(Button::Music)->setLook(PanelLook::Idle);
}

void SlideshowPanel::focusChoice(QAbstractButton* choice)
{
    choice->setFocus(Qt::TabFocusReason);
}

void SlideshowPanel::check(int choice)
{
    checking_ = true;
    choices_[size_t(choice)]->setChecked(true);
    checking_ = false;
}

void SlideshowPanel::chooseMusic(int choice)
{
    check(choice);
    app_.settings().writeBgm(choice);
    emit musicChosen(choice);
}

// A choice made at once, as a key or a screen reader makes it.
void SlideshowPanel::pressAndChoose(int choice)
{
    check(choice);
    emit musicPressed();
    chooseMusic(choice);
}

void SlideshowPanel::openInterval()
{
    intervalBox_->setText(QString::number(app_.settings().readSlideSeconds()));
    intervalBox_->show();
    secondsLabel_->show();
    intervalBox_->setFocus();
}

bool SlideshowPanel::applyInterval(bool byKey)
{
    const QString text = intervalBox_->text();
    const std::optional<int> seconds = SlideInterval::accept(text);
    if (!seconds) {
        intervalBox_->clear();
        return false;
    }
    emit intervalApplied(*seconds);
    app_.settings().writeSlideSecondsText(text);
    // Moved before the box hides, which would hand the focus to the next in line.
    if (byKey)
        button(Button::Interval)->setFocus(Qt::OtherFocusReason);  // the keys go on from there
    else
        window_->setFocus();
    intervalBox_->hide();
    secondsLabel_->hide();
    button(Button::Interval)->setLook(PanelLook::Idle);
    return true;
}

bool SlideshowPanel::intervalKey(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return applyInterval(true);
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
    const auto at = std::find(choices_.begin(), choices_.end(), watched);
    if (at == choices_.end())
        return false;
    const int i = int(at - choices_.begin());
    switch (event->type()) {
    case QEvent::MouseMove: resetHover(); return false;
    case QEvent::MouseButtonPress:
        check(i);
        emit musicPressed();
        return true;
    case QEvent::MouseButtonRelease: chooseMusic(i); return true;
    case QEvent::FocusOut:
        // The focused choice took the Tab stop (Qt's own rule for a group);
        // once the keys leave the list it goes back to the checked one.
        if (std::find(choices_.begin(), choices_.end(), QApplication::focusWidget()) == choices_.end())
            rovingStop();
        return false;
    case QEvent::KeyPress: return choiceKey(i, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease: {
        // Space is taken at its press; the button's own click is not wanted.
        const auto* k = static_cast<QKeyEvent*>(event);
        return k->key() == Qt::Key_Space;
    }
    default: return false;
    }
}

// The arrows move through the list without choosing; Space or Enter
// chooses; Tab leaves the list.
bool SlideshowPanel::choiceKey(int i, QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: focusChoice(choices_[size_t((i + kChoices - 1) % kChoices)]); return true;
    case Qt::Key_Down:
    case Qt::Key_Right: focusChoice(choices_[size_t((i + 1) % kChoices)]); return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!e->isAutoRepeat())
            pressAndChoose(i);
        return true;
    case Qt::Key_Tab: button(Button::Interval)->setFocus(Qt::TabFocusReason); return true;
    case Qt::Key_Backtab: button(Button::Music)->setFocus(Qt::BacktabFocusReason); return true;
    default: return false;
    }
}
