#include "session/BrowserSession.h"

#include "catalogue/CategoryTables.h"
#include "catalogue/NameOrder.h"
#include "platform/Beeper.h"
#include "platform/BusyPointer.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/CommandRules.h"
#include "session/GalleryModel.h"
#include "session/PanelRules.h"

#include <algorithm>

const char* const BrowserSession::kSearching = "検索中...少々お待ちください。";
const char* const BrowserSession::kNotFound = "検索しましたが、条件に合う草花は見当たりませんでした。";
const char* const BrowserSession::kPrompt = "目的の箇所をクリックしてください。";
const char* const BrowserSession::kConditionPrefix = "検索条件→";
const char* const BrowserSession::kAllData = "検索条件→データ全部";

namespace {
const int kRowTop[5][2] = {{24, 24}, {88, 88}, {152, 184}, {248, 248}, {312, 344}};
}

BrowserSession::BrowserSession(AppContext& app, QObject* parent)
    : QObject(parent)
    , app_(app)
    , engine_(app.catalogue())
    , gallery_(std::make_unique<GalleryModel>(*this))
    , panels_(std::make_unique<PanelRules>(buttons_, *this))
    , commandRules_(std::make_unique<CommandRules>(buttons_, *this))
{
    buttons_.setRules(*panels_, *commandRules_);
    history_.load(app.settings());
    connect(&welcomeTimer_, &QTimer::timeout, this, &BrowserSession::welcomeTick);
}

BrowserSession::~BrowserSession() = default;

QString BrowserSession::foundMessage(int count)
{
    // Numbers keep a sign position: one space before the digits.
    return QStringLiteral("検索完了！ %1個見つけました｡").arg(count);
}

QString BrowserSession::allDataCountText(int count)
{
    return QStringLiteral("全サムネイル：データ数 %1件").arg(count);
}

QString BrowserSession::countText(int c, int i) const
{
    const int n = app_.catalogue().countWith(c, CategoryTables::storedName(c, i + 1));
    return CategoryTables::countLabel(c, i + 1) + QStringLiteral(" %1件").arg(n);
}

QPoint BrowserSession::attributeButtonPos(int category, int i)
{
    const bool second = i >= 6;
    return {8 + 32 * (second ? i - 6 : i), kRowTop[category][second ? 1 : 0]};
}

int BrowserSession::helpShift(int category, int index)
{
    if (category != 4)
        return 0;
    switch (index) {
    case 2: return 50;  // イネ科
    case 3: return 100;  // カヤツリグサ科
    case 11: return 190;  // その他
    default: return 0;
    }
}

// ---- strips and help box ----------------------------------------------------------

void BrowserSession::printMessage(const QString& text)
{
    if (welcomeRunning())
        return;  // the welcome line owns the strip; it shows the status at its end
    messageText_ = text;
    emit messageChanged();
}

void BrowserSession::showMessageNow(const QString& text)
{
    messageText_ = text;
    emit messageChanged();
}

void BrowserSession::moveConditionStrip(double left, int top)
{
    conditionLeft_ = left;
    conditionTop_ = top;
    emit conditionChanged();
}

void BrowserSession::printCondition(const QString& text)
{
    conditionText_ = text;
    emit conditionChanged();
}

void BrowserSession::showConditionStrip(bool shown)
{
    conditionShown_ = shown;
    emit conditionChanged();
}

void BrowserSession::setConditionFrame(int width, int stripWidth)
{
    conditionFrameWidth_ = width;
    conditionStripWidth_ = stripWidth;
}

void BrowserSession::showProgress(bool shown)
{
    if (progressShown_ == shown)
        return;
    progressShown_ = shown;
    emit progressChanged();
}

void BrowserSession::setProgress(double percent)
{
    progressPercent_ = percent;
    emit progressChanged();
}

void BrowserSession::showHelp(const QString& text, QPoint at, bool besidePointer)
{
    help_ = {true, text, at, besidePointer};
    emit helpBoxChanged();
}

void BrowserSession::hideHelp()
{
    if (!help_.shown && help_.text.isEmpty())
        return;
    help_.shown = false;
    emit helpBoxChanged();
}

// ---- welcome line ---------------------------------------------------------------

void BrowserSession::startWelcome()
{
    welcomeTimer_.start(30);
}

void BrowserSession::welcomeTick()
{
    const WelcomeLine::Tick t = welcome_.tick(statusMessage_);
    messageText_ = t.text;
    if (t.nextInterval > 0)
        welcomeTimer_.setInterval(t.nextInterval);
    else
        welcomeTimer_.stop();
    emit messageChanged();
}

// ---- drawing state ------------------------------------------------------------------

void BrowserSession::setDrawState(DrawState state, bool resuming)
{
    if (state == drawState_ && resuming == resuming_)
        return;
    drawState_ = state;
    resuming_ = resuming;
    emit drawStateChanged();
}

void BrowserSession::requestDrawing()
{
    if (drawState_ == DrawState::Idle)
        setDrawState(DrawState::Requested, false);
}

void BrowserSession::drawingStarted()
{
    setDrawState(DrawState::Running, drawState_ == DrawState::Suspended);
}

void BrowserSession::drawingInterrupted()
{
    interruptPending_ = false;
    setDrawState(DrawState::Suspended, false);
}

void BrowserSession::drawingFinished()
{
    setDrawState(DrawState::Idle, false);
}

void BrowserSession::forgetSuspension()
{
    setDrawState(drawState_ == DrawState::Suspended ? DrawState::Requested : drawState_, false);
}

void BrowserSession::readThumbnailMode()
{
    thumbnailMode_ = app_.settings().readThumbnailMode();
    app_.SamMode = thumbnailMode_;
}

// ---- search -----------------------------------------------------------------------

void BrowserSession::setSelected(int category, int index, bool on)
{
    if (selection_.isSelected(category, index) == on)
        return;
    selection_.set(category, index, on);
    emit selectionChanged(ButtonId{ButtonId::Kind::Attribute, category, index});
    lstHANA_Click(category);  // as a list box raises its click event
}

void BrowserSession::lstHANA_Click(int c)
{
    if (listClickOff_)
        return;
    if (progressShown_) {
        showProgress(false);
        showConditionStrip(true);
    }
    buttons_.mirror(c, selection_);
    categoryActive_[size_t(c)] = true;
    forgetSuspension();
    primaryCategory_ = c;
    if (gallery_->cellsInUse() > 0)
        gallery_->clearCells();
    if (selection_.anyIn(c))
        SearchFlowers();
    else
        ClearCategory(c);
    gallery_->home();
}

void BrowserSession::SearchFlowers()
{
    BusyPointer& busy = app_.platform().busy;
    busy.begin();
    statusMessage_ = QString::fromUtf8(kSearching);
    printMessage(statusMessage_);

    results_ = engine_.search(selection_, primaryCategory_);

    if (!results_.isEmpty())
        statusMessage_ = foundMessage(int(results_.size()));
    else if (selection_.any())
        statusMessage_ = QString::fromUtf8(kNotFound);
    else
        statusMessage_ = QString::fromUtf8(kPrompt);
    printMessage(statusMessage_);
    busy.end();
}

void BrowserSession::ClearCategory(int c)
{
    forgetSuspension();
    categoryActive_[size_t(c)] = false;
    if (gallery_->cellsInUse() > 0)
        gallery_->clearCells();
    for (int i = 0; i < CategoryTables::valueCount(c); ++i) {
        buttons_.showUnselected(c, i);
        setSelected(c, i, false);
    }
    primaryCategory_ = 5;
    for (int k = 0; k < 5; ++k)
        if (categoryActive_[size_t(k)]) {
            primaryCategory_ = k;
            break;
        }
    SearchFlowers();
}

void BrowserSession::ApplySelection()
{
    if (results_.isEmpty() && !selection_.any())
        return;
    if (drawing()) {
        interruptPending_ = true;
        return;
    }
    drawingStarted();
    gallery_->RefreshResults();
}

void BrowserSession::catalogueLoaded()
{
    engine_.rebuild();
}

void BrowserSession::catalogueReloaded()
{
    results_.clear();
    engine_.rebuild();
}

// ---- strips --------------------------------------------------------------------------

void BrowserSession::ShowConditions()
{
    QString text;
    if (buttons_.allDataLatched()) {
        text = QString::fromUtf8(kAllData);
    } else {
        for (int k = 0; k < 5; ++k)
            for (int i = 0; i < CategoryTables::valueCount(k); ++i)
                if (selection_.isSelected(k, i)) {
                    text += text.isEmpty() ? QString::fromUtf8(kConditionPrefix) : QStringLiteral("，");
                    text += CategoryTables::storedName(k, i + 1);
                }
        const int w = measure_ ? measure_(text) : 0;
        const int W = conditionFrameWidth_;
        if (w >= W)
            moveConditionStrip(-((w - W) + 6), 0);  // the end shows, 6 pixels from the frame's edge
        else
            moveConditionStrip(0, 0);
    }
    printCondition(text);
}

void BrowserSession::conditionStripReleased(Qt::MouseButton button, QPoint pos, QSize strip)
{
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > strip.width() || pos.y() > strip.height())
        return;
    const double half = conditionFrameWidth_ / 2.0;  // 134.5
    if (button == Qt::LeftButton) {
        moveConditionStrip(conditionLeft_ + half, 0);
        if (conditionLeft_ >= -2)
            moveConditionStrip(0, 0);
    } else if (button == Qt::RightButton) {
        moveConditionStrip(conditionLeft_ - half, -1);
        if (conditionFrameWidth_ - conditionStripWidth_ >= conditionLeft_)
            moveConditionStrip(0, 0);
    }
}

void BrowserSession::ResetHover()
{
    buttons_.dropHover(drawState_ != DrawState::Idle);
    if (help_.shown)
        hideHelp();
}

void BrowserSession::ResetSearch()
{
    forgetSuspension();
    buttons_.unselectAll();
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < CategoryTables::valueCount(k); ++i)
            setSelected(k, i, false);
    categoryActive_ = {};
    results_.clear();
    if (gallery_->cellsInUse() > 0)
        gallery_->clearCells();
    showProgress(false);
    gallery_->home();
    if (!welcomeRunning()) {
        statusMessage_ = QString::fromUtf8(kPrompt);
        printMessage(statusMessage_);
    }
    printCondition(QString());
    showConditionStrip(true);
    if (buttons_.allDataLatched()) {
        buttons_.show(ButtonId::Kind::AllData, CommandLook::Idle);
        buttons_.hide(ButtonId::Kind::AllData, CommandLook::Latched);
    }
    if (buttons_.interruptShown()) {
        buttons_.show(ThumbnailLook::IdleShow);
        for (ThumbnailLook l :
             {ThumbnailLook::PointedInterrupt, ThumbnailLook::PressedInterrupt, ThumbnailLook::IdleInterrupt})
            buttons_.hide(l);
    }
}

// ---- the background and the pointer watch -----------------------------------------------

void BrowserSession::pointerOverBackground()
{
    buttons_.pointerOff();
    ResetHover();
    ShowConditions();
    if (welcomeRunning())
        return;
    if (drawState_ != DrawState::Idle || buttons_.allDataLatched() || selection_.any())
        showMessageNow(statusMessage_);
    else
        showMessageNow(QString::fromUtf8(kPrompt));
}

void BrowserSession::pointerOverCaption()
{
    buttons_.pointerOff();
    ResetHover();
}

void BrowserSession::pointerOverMessage()
{
    buttons_.pointerOff();
    ResetHover();
}

void BrowserSession::backgroundReleased(Qt::MouseButton button)
{
    if (progressShown_ && !suspended()) {
        app_.platform().beeper.beep();
        return;
    }
    if (button == Qt::RightButton)
        emit menuRequested();
}

void BrowserSession::pointerLeftWindow()
{
    buttons_.pointerOff();
    ResetHover();
}

void BrowserSession::pointerLeftThumbnails()
{
    gallery_->dropNameHighlight();
}

// ---- commands -----------------------------------------------------------------------------

void BrowserSession::pointer(const ButtonId& button, const PointerEvent& e)
{
    buttons_.pointer(button, e);
}

void BrowserSession::select(int category, int index)
{
    panels_->select(category, index, Qt::NoModifier);
}

void BrowserSession::release(int category, int index)
{
    panels_->release(category, index);
}

void BrowserSession::showThumbnails()
{
    commandRules_->showThumbnails();
}

void BrowserSession::interrupt()
{
    commandRules_->interrupt();
}

void BrowserSession::showAll()
{
    commandRules_->showAll();
}

void BrowserSession::clear()
{
    commandRules_->clear();
}

void BrowserSession::quit()
{
    emit quitRequested();
}

// ---- the keyboard ---------------------------------------------------------------

void BrowserSession::focusButton(const ButtonId& button)
{
    buttons_.keyPoint(button);
}

void BrowserSession::activateButton(const ButtonId& button, Qt::KeyboardModifiers modifiers)
{
    buttons_.keyClick(button, modifiers);
}

void BrowserSession::helpKeyPressed(const ButtonId& button)
{
    buttons_.keyHelp(button, true);
}

void BrowserSession::helpKeyReleased(const ButtonId& button)
{
    // Only a help box that the key opened is closed by it.
    if (help_.shown)
        buttons_.keyHelp(button, false);
}

QString BrowserSession::spokenName(const ButtonId& button) const
{
    switch (button.kind) {
    case ButtonId::Kind::Attribute: return CategoryTables::storedName(button.category, button.index + 1);
    case ButtonId::Kind::Thumbnail:
        if (buttons_.interruptShown())
            return QStringLiteral("サムネイルの表示を中断");
        return progressShown() ? QStringLiteral("サムネイルの表示を継続") : QStringLiteral("サムネイルの表示");
    case ButtonId::Kind::AllData: return QStringLiteral("全サムネイルの表示");
    case ButtonId::Kind::Clear: return QStringLiteral("すべてをクリア");
    case ButtonId::Kind::Quit: return QStringLiteral("ソノハの終了");
    }
    return {};
}

QString BrowserSession::spokenDescription(const ButtonId& button) const
{
    if (button.kind == ButtonId::Kind::Attribute)
        return countText(button.category, button.index);
    if (button.kind == ButtonId::Kind::AllData)
        return allDataCountText(app_.catalogue().FlowerCount());
    return {};
}

bool BrowserSession::checked(const ButtonId& button) const
{
    if (button.kind == ButtonId::Kind::Attribute)
        return selection_.isSelected(button.category, button.index);
    return button.kind == ButtonId::Kind::AllData && buttons_.allDataLatched();
}
