#include "session/GalleryModel.h"

#include "catalogue/FlowerCatalogue.h"
#include "pictures/PictureLoader.h"
#include "pictures/ThumbnailPrefetch.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"

#include <algorithm>

namespace {
const QSize kCell(100, 85);
}

GalleryModel::GalleryModel(BrowserSession& session)
    : s_(session)
    , files_(session.app().folders().pictures())
    , prefetch_(std::make_unique<ThumbnailPrefetch>(kCell))
{
    entries_.resize(kTableSize);
    stepper_.setSingleShot(true);
    stepper_.setInterval(0);
    connect(&stepper_, &QTimer::timeout, this, &GalleryModel::step);
    connect(prefetch_.get(), &ThumbnailPrefetch::decoded, this, &GalleryModel::pictureDecoded, Qt::QueuedConnection);
}

GalleryModel::~GalleryModel() = default;

QString GalleryModel::progressText(int remaining, int total)
{
    return QStringLiteral("サムネイルを表示中... 残り%1/%2枚。").arg(remaining).arg(total);
}

QString GalleryModel::interruptedText(int drawn, int total)
{
    return QStringLiteral("サムネイルの表示を中断しました。%1/%2枚。").arg(drawn).arg(total);
}

QString GalleryModel::doneText(int total)
{
    return QStringLiteral("%1枚あります。サムネイルのクリックで、写真と解説を表示します。").arg(total);
}

QString GalleryModel::tooltipOf(const FlowerRecord& r, bool nameFits)
{
    QString t = nameFits ? QString() : r.NAMAE + u'\n';
    t += r.KISETU + u'，' + r.IRO + u'，' + r.KABEN + u'，' + r.HA + u'，' + r.KA;
    if (r.KA == QStringLiteral("その他"))
        t += u'（' + r.KA2 + u'）';
    return t;
}

QString GalleryModel::rangeTip(int value) const
{
    const int r = value / kRowPitch;
    for (int i = 15; i >= 0; --i) {
        const int e = 4 * r + i;
        if (e < entries_.size() && !entries_[e].NAMAE.isEmpty()) {
            const QString first = qsizetype(4) * r < entries_.size() ? entries_[qsizetype(4) * r].NAMAE : QString();
            return first + QStringLiteral(" ～ ") + entries_[e].NAMAE + u' ';
        }
    }
    return QString();
}

// ---- read-ahead ---------------------------------------------------------------

// The pictures the drawing will put into visible cells next, as it will find
// them: same name scan, same order.
void GalleryModel::prefetchDrawing()
{
    const FlowerCatalogue& cat = s_.app().catalogue();
    const QStringList& names = s_.results();
    int drawn = drawnCount_;
    int visible = visibleCells();
    QStringList paths;
    for (int i = drawnCount_; i < names.size() && visible <= 15; ++i)
        for (int k = drawn + 1; k <= cat.FlowerCount() && visible <= 15; ++k)
            if (cat.slot(k).NAMAE == names[i]) {
                paths << files_.dataPath(cat.slot(k).SYASIN);
                ++drawn;
                ++visible;
            }
    prefetch_->start(paths);
}

void GalleryModel::prefetchPage(int firstEntry)
{
    QStringList paths;
    for (int e = firstEntry; e < firstEntry + 16 && e < drawnCount_; ++e)
        paths << files_.dataPath(entries_[e].SYASIN);
    prefetch_->start(paths);
}

// ---- cells ----------------------------------------------------------------------

int GalleryModel::visibleCells() const
{
    return int(std::count_if(cells_.begin(), cells_.end(), [](const Cell& c) { return c.pictureShown; }));
}

void GalleryModel::setScrollMaximum(int max)
{
    scrollMax_ = max;
    scrollValue_ = std::min(scrollValue_, max);
    emit scrollChanged();
}

void GalleryModel::setColour(int i, NameColour colour)
{
    if (cells_[size_t(i)].colour == colour)
        return;
    cells_[size_t(i)].colour = colour;
    changed(i);
}

void GalleryModel::clearCells()
{
    for (int i = 15; i >= 0; --i) {
        Cell& c = cells_[size_t(i)];
        c.pictureShown = false;
        c.picture = QImage();
        c.pictureEnabled = false;
        c.labelShown = false;
        c.caption.clear();
        changed(i);
    }
    drawnCount_ = 0;
}

void GalleryModel::stopReadAhead()
{
    prefetch_->stop();
}

bool GalleryModel::readAheadStopped() const
{
    return prefetch_->stopped();
}

void GalleryModel::home()
{
    scrollMax_ = 0;
    scrollValue_ = 0;
    emit scrollChanged();
}

// Takes the pictures the position will draw that are at hand, so that no
// worker starts them meanwhile; false while a worker still decodes one, and
// the drawing then goes on when decoded() brings it.
bool GalleryModel::picturesAtHand(int position)
{
    int visible = visibleCells();
    const QStringList& results = s_.results();
    const QString name = position < results.size() ? results[position] : QString();
    const FlowerCatalogue& cat = s_.app().catalogue();
    int drawn = drawnCount_;
    for (int k : slotsByName_.value(name)) {
        if (visible > 15 || drawn >= kTableSize)
            break;
        if (k <= drawnCount_)
            continue;
        const QString path = files_.dataPath(cat.slot(k).SYASIN);
        if (!prefetch_->claim(path)) {
            awaited_ = path;
            return false;
        }
        ++drawn;
        ++visible;
    }
    return true;
}

void GalleryModel::pictureDecoded(const QString& path)
{
    if (path == awaited_ && s_.drawing()) {
        awaited_.clear();
        stepper_.start();
    }
}

QImage GalleryModel::thumbnailFor(const QString& stored, const QString& slotStored, bool fallBack)
{
    const QString path = files_.dataPath(stored);
    PictureLoader::Result r;
    if (!fallBack) {
        r = prefetch_->take(path);  // the page redraw draws all its cells at once
    } else if (auto ready = prefetch_->tryTake(path)) {
        r = std::move(*ready);
    } else {
        // The position's pictures were claimed before it began; a worker has
        // this one only if cells changed in between. Decoding it again beats
        // waiting in the middle of a position.
        r = PictureLoader::loadCover(path, kCell);
    }
    if (r.status == PictureLoader::Status::Missing) {
        QString other;
        if (fallBack) {
            const QString resolved = files_.ResolvePictureFile(slotStored);
            if (files_.existsInData(resolved))
                other = files_.dataPath(resolved);
        } else if (files_.existsInData(stored)) {
            other = files_.dataPath(stored);
        }
        r = PictureLoader::loadCover(other.isEmpty() ? files_.noFilePath() : other, kCell);
    }
    if (r.status != PictureLoader::Status::Ok) {
        // A broken or oversized file shows the placeholder, never another
        // flower's picture.
        r = PictureLoader::loadCover(files_.noFilePath(), kCell);
    }
    if (r.status == PictureLoader::Status::Ok)
        lastPicture_ = r.image;
    return lastPicture_;
}

void GalleryModel::DrawCell(int c, int e, int slot)
{
    const FlowerRecord& entry = entries_[e];
    const QString slotStored = slot > 0 ? s_.app().catalogue().slot(slot).SYASIN : entry.SYASIN;
    Cell& cell = cells_[size_t(c)];
    cell.picture = thumbnailFor(entry.SYASIN, slotStored, slot > 0);
    cell.pictureShown = true;
    cell.pictureEnabled = false;
    cell.caption = entry.NAMAE;
    cell.labelShown = true;
    cell.labelEnabled = false;
    cell.tooltip = tooltipOf(entry, !nameFits_ || nameFits_(entry.NAMAE));
    changed(c);
}

void GalleryModel::ColourNameLabels()
{
    for (int i = 0; i < kCells; ++i) {
        Cell& c = cells_[size_t(i)];
        c.colour = shownNames_.contains(c.caption) ? NameColour::Red : NameColour::Green;
        c.labelEnabled = true;
        changed(i);
    }
}

// ---- the drawing ------------------------------------------------------------------

void GalleryModel::RefreshResults()
{
    if (s_.suspended()) {
        s_.showProgress(true);
        s_.showConditionStrip(false);
        drawnCount_ = savedDrawnCount_;
        drawnRows_ = savedDrawnRows_;
    } else {
        home();
        if (drawnCount_ > 0)
            clearCells();
        if (s_.results().isEmpty()) {
            cells_[0].pictureShown = false;
            cells_[0].labelShown = false;
            changed(0);
        }
        drawnCount_ = 0;
        drawnRows_ = 0;
    }
    ShowThumbnails();
}

void GalleryModel::ShowThumbnails()
{
    if (!s_.suspended())
        entries_.fill(FlowerRecord{});
    total_ = int(s_.results().size());
    percentStep_ = total_ > 0 ? double(100.0f / float(total_)) : 0.0;
    s_.showProgress(true);
    prefetchDrawing();
    slotsByName_.clear();
    const FlowerCatalogue& cat = s_.app().catalogue();
    for (int k = 1; k <= cat.FlowerCount(); ++k)
        slotsByName_[cat.slot(k).NAMAE].append(k);
    position_ = drawnCount_;
    if (position_ < total_)
        stepper_.start();  // the user may act before every position
    else
        finish();
}

void GalleryModel::step()
{
    if (!s_.drawing())
        return;
    if (s_.interruptPending()) {
        awaited_.clear();
        interrupt(position_);
        return;
    }
    if (!picturesAtHand(position_))
        return;  // until the worker's picture arrives
    drawPosition(position_);
    if (++position_ < total_)
        stepper_.start();
    else
        finish();
}

void GalleryModel::drawPosition(int i)
{
    s_.setProgress((i + 1) * percentStep_);
    const FlowerCatalogue& cat = s_.app().catalogue();
    const QStringList& results = s_.results();
    const QString name = i < results.size() ? results[i] : QString();
    // Every record of the name from the slot after the count drawn so far,
    // as a scan of the catalogue from there would find them.
    const int first = drawnCount_ + 1;
    const QVector<int> found = slotsByName_.value(name);
    for (int k : found) {
        if (k < first || drawnCount_ >= kTableSize)
            continue;
        entries_[drawnCount_] = cat.slot(k);
        const int visible = visibleCells();
        if (visible <= 15)
            DrawCell(visible, drawnCount_, k);
        if (drawnCount_ % 4 == 3) {
            ++drawnRows_;
            if (drawnRows_ % 4 == 0)
                setScrollMaximum(drawnRows_ * kRowPitch);
        }
        ++drawnCount_;
        s_.printMessage(progressText(total_ - drawnCount_, total_));
    }
    if (i <= 15) {
        cells_[size_t(i)].pictureEnabled = true;
        changed(i);
    }
}

void GalleryModel::finish()
{
    const int L = total_;
    lastPicture_ = QImage();
    prefetch_->clear();
    slotsByName_.clear();
    if (drawnCount_ % 16 == 0)
        setScrollMaximum(L == 0 ? 0 : std::max(0, (drawnRows_ - 4) * kRowPitch));
    ColourNameLabels();
    s_.setStatusMessage(L == 0 ? QString::fromUtf8(BrowserSession::kNotFound) : doneText(L));
    s_.printMessage(s_.statusMessage());
    if (s_.interruptShown()) {
        s_.showLook(ThumbnailLook::IdleShow);
        for (ThumbnailLook l :
             {ThumbnailLook::PointedInterrupt, ThumbnailLook::PressedInterrupt, ThumbnailLook::IdleInterrupt})
            s_.hideLook(l);
    }
    s_.drawingFinished();
    s_.showProgress(false);
    s_.showConditionStrip(true);
    s_.setAllMode(false);
    s_.ShowConditions();
}

void GalleryModel::interrupt(int i)
{
    s_.drawingInterrupted();
    savedDrawnCount_ = drawnCount_;
    savedDrawnRows_ = drawnRows_;
    for (int c = 0; c < kCells; ++c) {
        Cell& cell = cells_[size_t(c)];
        cell.pictureEnabled = true;
        cell.colour = NameColour::Green;
        cell.labelEnabled = true;
        changed(c);
    }
    s_.setProgress((i + 1) * percentStep_);
    s_.setStatusMessage(interruptedText(drawnCount_, total_));
    s_.printMessage(s_.statusMessage());
    if (drawnCount_ % 16 == 0)
        setScrollMaximum(std::max(0, (drawnRows_ - 4) * kRowPitch));
}

// ---- scrolling and picking -----------------------------------------------------------

void GalleryModel::scrolledTo(int value)
{
    scrollValue_ = value;
    s_.hideHelp();
    const int r = value / kRowPitch;
    prefetchPage(4 * r);
    for (int i = 0; i < kCells; ++i) {
        const int e = 4 * r + i;
        if (e < drawnCount_) {
            DrawCell(i, e, 0);
        } else {
            Cell& cell = cells_[size_t(i)];
            cell.pictureShown = false;
            cell.pictureEnabled = false;
            cell.caption.clear();
            cell.labelShown = false;
            cell.labelEnabled = false;
        }
        cells_[size_t(i)].pictureEnabled = true;
        changed(i);
    }
    lastPicture_ = QImage();
    ColourNameLabels();
}

void GalleryModel::scrollDragged(int sliderPosition, QPoint pointer)
{
    s_.showHelp(rangeTip(sliderPosition), pointer, true);
}

void GalleryModel::pointerOverCell(int i)
{
    for (int j = 0; j < kCells; ++j) {
        const NameColour c = cells_[size_t(j)].colour;
        if (j == i && c == NameColour::Green)
            setColour(j, NameColour::Yellow);
        else if (j != i && c == NameColour::Yellow)
            setColour(j, NameColour::Green);
    }
    s_.ResetHover();
    s_.ShowConditions();
}

void GalleryModel::pointerOverField()
{
    dropNameHighlight();
    s_.ResetHover();
    s_.ShowConditions();
}

void GalleryModel::dropNameHighlight()
{
    for (int j = 0; j < kCells; ++j)
        if (cells_[size_t(j)].colour == NameColour::Yellow)
            setColour(j, NameColour::Green);
}

void GalleryModel::cellPressed(int i)
{
    cells_[size_t(i)].pressed = true;
    changed(i);
}

void GalleryModel::cellReleased(int i)
{
    cells_[size_t(i)].pressed = false;
    changed(i);
}

void GalleryModel::markOpened(const QString& name)
{
    for (int i = 0; i < kCells; ++i)
        if (cells_[size_t(i)].caption == name) {
            setColour(i, NameColour::Red);
            s_.history().PushHistory(name);
            break;
        }
    shownNames_.append(name);
}

void GalleryModel::markClosed(const QString& name)
{
    for (int i = 0; i < kCells; ++i)
        if (cells_[size_t(i)].caption == name)
            setColour(i, NameColour::Green);
    shownNames_.removeOne(name);
}

void GalleryModel::resetNameColours()
{
    for (int i = 0; i < kCells; ++i) {
        cells_[size_t(i)].colour = NameColour::Green;
        cells_[size_t(i)].labelEnabled = true;
        changed(i);
    }
}
