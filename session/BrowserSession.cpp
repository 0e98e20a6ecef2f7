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
#include "session/StatusTexts.h"

#include <algorithm>

BrowserSession::BrowserSession(AppContext& app, QObject* parent)
    : QObject(parent)
    , app_(app)
    , engine_(app.catalogue())
    , gallery_(std::make_unique<GalleryModel>(*this))
    , panels_(std::make_unique<PanelRules>(buttons_, strips_, *this))
    , commandRules_(std::make_unique<CommandRules>(buttons_, strips_, *this))
{
    buttons_.setRules(*panels_, *commandRules_);
    history_.load(app.settings());
}

BrowserSession::~BrowserSession() = default;

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
    if (strips_.progressShown()) {
        strips_.showProgress(false);
        strips_.showConditionStrip(true);
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
    strips_.setStatus(QString::fromUtf8(StatusTexts::kSearching));

    results_ = engine_.search(selection_, primaryCategory_);

    if (!results_.isEmpty())
        strips_.setStatus(StatusTexts::found(int(results_.size())));
    else if (selection_.any())
        strips_.setStatus(QString::fromUtf8(StatusTexts::kNotFound));
    else
        strips_.setStatus(QString::fromUtf8(StatusTexts::kPrompt));
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
    if (buttons_.allDataLatched()) {
        strips_.printCondition(QString::fromUtf8(StatusTexts::kAllData));
        return;
    }
    QString text;
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < CategoryTables::valueCount(k); ++i)
            if (selection_.isSelected(k, i)) {
                text += text.isEmpty() ? QString::fromUtf8(StatusTexts::kConditionPrefix) : QStringLiteral("，");
                text += CategoryTables::storedName(k, i + 1);
            }
    strips_.showEnd(text);
}

void BrowserSession::ResetHover()
{
    buttons_.dropHover(drawState_ != DrawState::Idle);
    if (strips_.helpBox().shown)
        strips_.hideHelp();
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
    strips_.showProgress(false);
    gallery_->home();
    if (!strips_.welcomeRunning())
        strips_.setStatus(QString::fromUtf8(StatusTexts::kPrompt));
    strips_.printCondition(QString());
    strips_.showConditionStrip(true);
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
    if (strips_.welcomeRunning())
        return;
    if (drawState_ != DrawState::Idle || buttons_.allDataLatched() || selection_.any())
        strips_.printNow(strips_.status());
    else
        strips_.printNow(QString::fromUtf8(StatusTexts::kPrompt));
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
    if (strips_.progressShown() && !suspended()) {
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
    if (strips_.helpBox().shown)
        buttons_.keyHelp(button, false);
}

QString BrowserSession::spokenName(const ButtonId& button) const
{
    switch (button.kind) {
    case ButtonId::Kind::Attribute: return CategoryTables::storedName(button.category, button.index + 1);
    case ButtonId::Kind::Thumbnail:
        if (buttons_.interruptShown())
            return QStringLiteral("サムネイルの表示を中断");
        return strips_.progressShown() ? QStringLiteral("サムネイルの表示を継続") : QStringLiteral("サムネイルの表示");
    case ButtonId::Kind::AllData: return QStringLiteral("全サムネイルの表示");
    case ButtonId::Kind::Clear: return QStringLiteral("すべてをクリア");
    case ButtonId::Kind::Quit: return QStringLiteral("ソノハの終了");
    }
    return {};
}

QString BrowserSession::spokenDescription(const ButtonId& button) const
{
    if (button.kind == ButtonId::Kind::Attribute)
        return StatusTexts::attributeCount(app_.catalogue(), button.category, button.index);
    if (button.kind == ButtonId::Kind::AllData)
        return StatusTexts::allDataCount(app_.catalogue().FlowerCount());
    return {};
}

bool BrowserSession::checked(const ButtonId& button) const
{
    if (button.kind == ButtonId::Kind::Attribute)
        return selection_.isSelected(button.category, button.index);
    return button.kind == ButtonId::Kind::AllData && buttons_.allDataLatched();
}
