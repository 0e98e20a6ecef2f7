#include "session/BrowserSession.h"

#include "catalogue/CategoryTables.h"
#include "catalogue/NameOrder.h"
#include "platform/Beeper.h"
#include "platform/BusyPointer.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/NearMissNote.h"
#include "session/StatusTexts.h"

#include <algorithm>
#include <utility>

using T = ThumbnailLook;
using Kind = ButtonId::Kind;

BrowserSession::BrowserSession(AppContext& app, QObject* parent)
    : QObject(parent)
    , app_(app)
    , engine_(app.catalogue())
    , photos_(app)
    , gallery_(app.catalogue(), app.folders().pictures(), photos_)
    , panelRules_(buttons_, strips_, *this, app.catalogue())
    , commandRules_(buttons_, strips_, *this, app.catalogue())
{
    buttons_.setRules(panelRules_, commandRules_);
    history_.load(app.settings());
    connect(&gallery_, &GalleryModel::drawingProgress, &strips_, &StatusStrips::setProgress);
    connect(&gallery_, &GalleryModel::thumbnailDrawn, this,
            [this](int remaining, int total) { strips_.print(StatusTexts::drawing(remaining, total)); });
    connect(&gallery_, &GalleryModel::drawingInterrupted, this, &BrowserSession::drawingInterrupted);
    connect(&gallery_, &GalleryModel::drawingFinished, this, &BrowserSession::drawingFinished);
    connect(&photos_, &PhotoSet::windowClosed, &gallery_, &GalleryModel::markClosed);
    connect(&photos_, &PhotoSet::galleryNamesReleased, &gallery_, &GalleryModel::resetNameColours);
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

void BrowserSession::drawingInterrupted(int drawn, int total, double percent)
{
    setDrawState(DrawState::Suspended, false);
    strips_.setProgress(percent);  // the bar stays until a drawing completes
    strips_.setStatus(StatusTexts::interrupted(drawn, total));
}

void BrowserSession::drawingFinished(int total)
{
    strips_.setStatus(total == 0 ? QString::fromUtf8(StatusTexts::kNotFound) : StatusTexts::drawn(total));
    if (buttons_.interruptShown()) {
        buttons_.show(T::IdleShow);
        for (T l : {T::PointedInterrupt, T::PressedInterrupt, T::IdleInterrupt})
            buttons_.hide(l);
    }
    setDrawState(DrawState::Idle, false);
    strips_.showProgress(false);
    strips_.showConditionStrip(true);
    allMode_ = false;
    showConditions();
    emit resultReported(total, strips_.status());
}

void BrowserSession::forgetSuspension()
{
    setDrawState(drawState_ == DrawState::Suspended ? DrawState::Requested : drawState_, false);
}

bool BrowserSession::drawingShowsProgress() const
{
    return !suspended() && strips_.progressShown();
}

void BrowserSession::requestThumbnails()
{
    if (drawState_ == DrawState::Idle)
        setDrawState(DrawState::Requested, false);
    drawResult();
}

// Starts the drawing of the result, resumes an interrupted one, or asks a
// running drawing to stop at its next step.
void BrowserSession::drawResult()
{
    if (results_.isEmpty() && !selection_.any())
        return;
    if (drawing()) {
        gallery_.interrupt();
        return;
    }
    const bool resume = drawState_ == DrawState::Suspended;
    setDrawState(DrawState::Running, resume);
    if (resume) {
        strips_.showProgress(true);
        strips_.showConditionStrip(false);
        gallery_.resume();
    } else {
        strips_.showProgress(true);
        gallery_.draw(results_, nearNotes_);
    }
}

void BrowserSession::stopDrawing()
{
    if (drawing())
        gallery_.interrupt();
}

// ---- search -----------------------------------------------------------------------

bool BrowserSession::select(int c, int i)
{
    listClickOff_ = false;
    allMode_ = false;
    if (buttons_.allDataLatched()) {
        buttons_.show(Kind::AllData, CommandLook::Idle);
        buttons_.hide(Kind::AllData, CommandLook::Latched);
    }
    setSelected(c, i, true);
    showConditions();
    // The file is the reference: a mode changed by hand counts from the next
    // selecting click; a releasing click goes by the mode read here.
    thumbnailMode_ = app_.settings().readThumbnailMode();
    return thumbnailMode_ == 1;
}

bool BrowserSession::deselect(int c, int i)
{
    setSelected(c, i, false);
    return thumbnailMode_ != 0;
}

void BrowserSession::setSelected(int category, int index, bool on)
{
    if (selection_.isSelected(category, index) == on)
        return;
    selection_.set(category, index, on);
    emit selectionChanged(ButtonId{Kind::Attribute, category, index});
    listChanged(category);  // as a list box raises its click event
}

void BrowserSession::listChanged(int c)
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
    if (gallery_.cellsInUse() > 0)
        gallery_.clearCells();
    if (selection_.anyIn(c))
        search();
    else
        dropCategory(c);
    gallery_.home();
}

void BrowserSession::search()
{
    BusyPointer& busy = app_.platform().busy;
    busy.begin();
    strips_.setStatus(QString::fromUtf8(StatusTexts::kSearching));

    forgetNearMisses();
    results_ = engine_.search(selection_, primaryCategory_);

    if (!results_.isEmpty())
        strips_.setStatus(StatusTexts::found(int(results_.size())));
    else if (selection_.any())
        strips_.setStatus(QString::fromUtf8(StatusTexts::kNotFound));
    else
        strips_.setStatus(QString::fromUtf8(StatusTexts::kPrompt));
    busy.end();
    // Also while the welcome line still hides the status on the strip.
    emit resultReported(int(results_.size()), strips_.status());
}

void BrowserSession::forgetNearMisses()
{
    nearShown_ = false;
    nearNotes_.clear();
}

bool BrowserSession::nearMissesAvailable() const
{
    return selection_.categoriesInUse() >= 2 && results_.isEmpty() && !nearShown_ && !allMode_ && !drawing();
}

void BrowserSession::showNearMisses()
{
    if (!nearMissesAvailable()) {
        beep();
        return;
    }
    const NearMisses near = engine_.nearMisses(selection_);
    QStringList names;
    QHash<QString, QString> notes;
    near.all().forEach([&](int place) {
        const QString& name = engine_.nameAt(place);
        // A name carried by several records is drawn once with all of them;
        // the first that misses by one speaks for it.
        if (notes.contains(name))
            return;
        const FlowerRecord& r = app_.catalogue().slot(engine_.slotAt(place));
        notes.insert(name, NearMissNote::text(near.categoryOf(place), selection_, r));
        names << name;
    });
    nearShown_ = true;
    nearNotes_ = std::move(notes);
    results_ = names;
    showConditions();
    const QString told = names.isEmpty() ? QString::fromUtf8(StatusTexts::kNoNearMisses)
                                         : StatusTexts::nearMissesFound(int(names.size()));
    strips_.setStatus(told);
    emit resultReported(int(names.size()), told);
    if (names.isEmpty())
        return;
    buttons_.show(T::IdleInterrupt);
    for (T look : {T::PressedShow, T::PointedShow, T::IdleShow})
        buttons_.hide(look);
    requestThumbnails();
}

// The category's last attribute was released: it takes no part any more,
// and the search starts from the lowest category still active.
void BrowserSession::dropCategory(int c)
{
    forgetSuspension();
    categoryActive_[size_t(c)] = false;
    if (gallery_.cellsInUse() > 0)
        gallery_.clearCells();
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
    search();
}

void BrowserSession::catalogueLoaded()
{
    engine_.rebuild();
}

void BrowserSession::catalogueReloaded()
{
    forgetNearMisses();
    results_.clear();
    engine_.rebuild();
}

// ---- strips and hover --------------------------------------------------------------------

void BrowserSession::showConditions()
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
    if (nearShown_)
        text += QString::fromUtf8(StatusTexts::kNearMissesShown);
    strips_.showEnd(text);
}

void BrowserSession::resetHover()
{
    buttons_.dropHover(drawState_ != DrawState::Idle);
    if (strips_.helpBox().shown)
        strips_.hideHelp();
}

void BrowserSession::beep()
{
    app_.platform().beeper.beep();
}

bool BrowserSession::somethingToClear() const
{
    return photos_.openCount() > 0 || !results_.isEmpty() || selection_.any();
}

void BrowserSession::resetSearch()
{
    forgetSuspension();
    buttons_.unselectAll();
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < CategoryTables::valueCount(k); ++i)
            setSelected(k, i, false);
    categoryActive_ = {};
    forgetNearMisses();
    results_.clear();
    if (gallery_.cellsInUse() > 0)
        gallery_.clearCells();
    strips_.showProgress(false);
    gallery_.home();
    if (!strips_.welcomeRunning())
        strips_.setStatus(QString::fromUtf8(StatusTexts::kPrompt));
    strips_.printCondition(QString());
    strips_.showConditionStrip(true);
    if (buttons_.allDataLatched()) {
        buttons_.show(Kind::AllData, CommandLook::Idle);
        buttons_.hide(Kind::AllData, CommandLook::Latched);
    }
    if (buttons_.interruptShown()) {
        buttons_.show(T::IdleShow);
        for (T l : {T::PointedInterrupt, T::PressedInterrupt, T::IdleInterrupt})
            buttons_.hide(l);
    }
}

// ---- the background and the pointer watch -----------------------------------------------

void BrowserSession::pointerOffButtons()
{
    buttons_.pointerOff();
    // A help box that F1 holds stays until the key goes up, wherever the
    // pointer rests: the pointer watch would close it within 100 ms.
    if (helpKeyOn_ && strips_.helpBox().shown)
        return;
    resetHover();
}

void BrowserSession::pointerOverBackground()
{
    pointerOffButtons();
    showConditions();
    if (strips_.welcomeRunning())
        return;
    if (drawState_ != DrawState::Idle || buttons_.allDataLatched() || selection_.any())
        strips_.printNow(strips_.status());
    else
        strips_.printNow(QString::fromUtf8(StatusTexts::kPrompt));
}

void BrowserSession::pointerOverCaption()
{
    pointerOffButtons();
}

void BrowserSession::pointerOverMessage()
{
    pointerOffButtons();
}

void BrowserSession::backgroundReleased(Qt::MouseButton button)
{
    if (strips_.progressShown() && !suspended()) {
        beep();
        return;
    }
    if (button == Qt::RightButton)
        emit menuRequested();
}

void BrowserSession::pointerLeftWindow()
{
    pointerOffButtons();
}

void BrowserSession::pointerLeftThumbnails()
{
    gallery_.dropNameHighlight();
}

// ---- the gallery ------------------------------------------------------------------------

void BrowserSession::pointerOverCell(int cell)
{
    gallery_.pointOnCell(cell);
    pointerOffButtons();
    showConditions();
}

void BrowserSession::pointerOverField()
{
    gallery_.dropNameHighlight();
    pointerOffButtons();
    showConditions();
}

void BrowserSession::focusCell(int cell)
{
    gallery_.pointOnCell(cell);
    resetHover();
    showConditions();
}

void BrowserSession::openPhoto(int cell)
{
    const QString name = gallery_.cell(cell).caption;
    const int k = app_.catalogue().slotOfName(name);
    if (k == 0)
        return;
    if (photos_.pickFromGallery(k) == PhotoSet::Pick::Opened && gallery_.markOpened(name))
        history_.push(name);
}

void BrowserSession::openFromHistory(int entry)
{
    photos_.openFromHistory(history_.entry(entry));
}

void BrowserSession::scrolledTo(int value)
{
    strips_.hideHelp();
    gallery_.scrolledTo(value);
}

void BrowserSession::scrollDragged(int sliderPosition, QPoint pointer)
{
    strips_.showHelp(gallery_.rangeTip(sliderPosition), pointer, true);
}

// ---- commands -----------------------------------------------------------------------------

void BrowserSession::showThumbnails()
{
    buttons_.show(T::PointedInterrupt);  // the pointer is on it
    for (T look : {T::PressedShow, T::PointedShow, T::IdleShow})
        buttons_.hide(look);
    requestThumbnails();
}

void BrowserSession::interrupt()
{
    buttons_.show(T::PointedShow);
    for (T look : {T::PressedInterrupt, T::PointedInterrupt, T::IdleInterrupt})
        buttons_.hide(look);
    gallery_.interrupt();
    drawResult();
}

void BrowserSession::showAll()
{
    resetSearch();
    buttons_.show(Kind::AllData, CommandLook::Latched);
    buttons_.hide(Kind::AllData, CommandLook::Pressed);
    buttons_.hide(Kind::AllData, CommandLook::Pointed);

    const FlowerCatalogue& cat = app_.catalogue();
    QStringList names;
    for (int i = 1; i <= cat.count(); ++i)
        names << cat.slot(i).NAMAE;
    std::stable_sort(names.begin(), names.end(), NameOrder());
    results_ = names;
    allMode_ = true;

    buttons_.show(T::IdleInterrupt);
    for (T look : {T::PressedShow, T::PointedShow, T::IdleShow})
        buttons_.hide(look);
    requestThumbnails();
}

void BrowserSession::clear()
{
    buttons_.show(Kind::Clear, CommandLook::Idle);
    buttons_.hide(Kind::Clear, CommandLook::Pressed);
    buttons_.hide(Kind::Clear, CommandLook::Pointed);
    buttons_.show(T::IdleShow);
    buttons_.hide(T::IdleInterrupt);
    listClickOff_ = true;  // the reset's deselections run no search
    photos_.closeAll();
    resetSearch();
    allMode_ = false;
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

void BrowserSession::helpKeyPressed(std::optional<ButtonId> focused)
{
    // A key repeat or a second F1 while one is down changes nothing, so a
    // held key does not close and open the box again.
    if (helpKeyOn_ && strips_.helpBox().shown)
        return;
    const std::optional<ButtonId> target = buttons_.pointed() ? buttons_.pointed() : focused;
    if (!target || target->kind != Kind::Attribute)
        return;
    helpKeyOn_ = target;
    buttons_.keyHelp(*target, true);
}

void BrowserSession::helpKeyReleased()
{
    const std::optional<ButtonId> on = std::exchange(helpKeyOn_, std::nullopt);
    // Only a help box that the key opened is closed by it.
    if (on && strips_.helpBox().shown)
        buttons_.keyHelp(*on, false);
}

QString BrowserSession::spokenName(const ButtonId& button) const
{
    switch (button.kind) {
    case Kind::Attribute: return CategoryTables::spokenName(button.category, button.index + 1);
    case Kind::Thumbnail:
        if (buttons_.interruptShown())
            return QStringLiteral("サムネイルの表示を中断");
        return strips_.progressShown() ? QStringLiteral("サムネイルの表示を継続") : QStringLiteral("サムネイルの表示");
    case Kind::AllData: return QStringLiteral("全サムネイルの表示");
    case Kind::Clear: return QStringLiteral("すべてをクリア");
    case Kind::Quit: return QStringLiteral("ソノハの終了");
    }
    return {};
}

QString BrowserSession::spokenDescription(const ButtonId& button) const
{
    if (button.kind == Kind::Attribute)
        return StatusTexts::attributeCount(app_.catalogue(), button.category, button.index);
    if (button.kind == Kind::AllData)
        return StatusTexts::allDataCount(app_.catalogue().count());
    return {};
}

bool BrowserSession::checked(const ButtonId& button) const
{
    if (button.kind == Kind::Attribute)
        return selection_.isSelected(button.category, button.index);
    return button.kind == Kind::AllData && buttons_.allDataLatched();
}
