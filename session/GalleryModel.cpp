#include "session/GalleryModel.h"

#include "catalogue/FlowerCatalogue.h"
#include "pictures/PictureLoader.h"
#include "pictures/ThumbnailPrefetch.h"
#include "session/PhotoSet.h"

#include <algorithm>

namespace {
const QSize kCell(100, 85);
}

GalleryModel::GalleryModel(const FlowerCatalogue& catalogue, PictureFiles files, const PhotoSet& photos)
    : catalogue_(catalogue)
    , photos_(photos)
    , files_(std::move(files))
    , prefetch_(std::make_unique<ThumbnailPrefetch>(kCell))
{
    entries_.resize(kTableSize);
    stepper_.setSingleShot(true);
    stepper_.setInterval(0);
    connect(&stepper_, &QTimer::timeout, this, &GalleryModel::step);
    connect(prefetch_.get(), &ThumbnailPrefetch::decoded, this, &GalleryModel::pictureDecoded, Qt::QueuedConnection);
}

GalleryModel::~GalleryModel() = default;

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
    const FlowerCatalogue& cat = catalogue_;
    const QStringList& names = names_;
    int drawn = drawnCount_;
    int visible = visibleCells();
    QStringList paths;
    for (int i = drawnCount_; i < names.size() && visible <= 15; ++i)
        for (int k = drawn + 1; k <= cat.count() && visible <= 15; ++k)
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
    for (int e = firstEntry; e < firstEntry + 16 && e < drawnCount_; ++e) {
        const QString path = files_.dataPath(entries_[e].SYASIN);
        if (!shown_.contains(path))
            paths << path;
    }
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
        c.note.clear();
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
    const QString name = position < names_.size() ? names_[position] : QString();
    const FlowerCatalogue& cat = catalogue_;
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
    if (path == awaited_ && running_) {
        awaited_.clear();
        stepper_.start();
    }
}

QImage GalleryModel::thumbnailFor(const QString& stored, const QString& slotStored, bool fallBack)
{
    const QString path = files_.dataPath(stored);
    if (const QImage* seen = shown_.object(path)) {
        lastPicture_ = *seen;
        return lastPicture_;
    }
    PictureLoader::Result r = decodedThumbnail(path, fallBack);
    if (r.status == PictureLoader::Status::Ok) {
        keepShown(path, r.image);
    } else if (r.status == PictureLoader::Status::Missing) {
        QString other;
        if (fallBack) {
            const QString resolved = files_.resolvePictureFile(slotStored);
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

PictureLoader::Result GalleryModel::decodedThumbnail(const QString& path, bool fallBack)
{
    if (!fallBack)
        return prefetch_->take(path);  // the page redraw draws all its cells at once
    if (auto ready = prefetch_->tryTake(path))
        return std::move(*ready);
    // The position's pictures were claimed before it began; a worker has
    // this one only if cells changed in between. Decoding it again beats
    // waiting in the middle of a position.
    return PictureLoader::loadCover(path, kCell);
}

// Only a picture read from its own file is kept: a stand-in (another
// extension, the placeholder) is looked up again, as the file may appear.
void GalleryModel::keepShown(const QString& path, const QImage& image)
{
    const qsizetype kib = std::max<qsizetype>(1, image.sizeInBytes() / 1024);
    shown_.insert(path, new QImage(image), kib);
}

void GalleryModel::drawCell(int c, int e, int slot)
{
    const FlowerRecord& entry = entries_[e];
    const QString slotStored = slot > 0 ? catalogue_.slot(slot).SYASIN : entry.SYASIN;
    Cell& cell = cells_[size_t(c)];
    cell.picture = thumbnailFor(entry.SYASIN, slotStored, slot > 0);
    cell.pictureShown = true;
    cell.pictureEnabled = false;
    cell.caption = entry.NAMAE;
    cell.labelShown = true;
    cell.labelEnabled = false;
    cell.note = notes_.value(entry.NAMAE);
    cell.tooltip = tooltipOf(entry, !nameFits_ || nameFits_(entry.NAMAE));
    if (!cell.note.isEmpty())
        cell.tooltip = cell.note + u'\n' + cell.tooltip;
    changed(c);
}

void GalleryModel::colourNameLabels()
{
    for (int i = 0; i < kCells; ++i) {
        Cell& c = cells_[size_t(i)];
        c.colour = photos_.shownInGallery(c.caption) ? NameColour::Red : NameColour::Green;
        c.labelEnabled = true;
        changed(i);
    }
}

// ---- the drawing ------------------------------------------------------------------

void GalleryModel::draw(const QStringList& names, QHash<QString, QString> notes)
{
    names_ = names;
    notes_ = std::move(notes);
    shown_.clear();
    home();
    if (drawnCount_ > 0)
        clearCells();
    if (names_.isEmpty()) {
        cells_[0].pictureShown = false;
        cells_[0].labelShown = false;
        changed(0);
    }
    drawnCount_ = 0;
    drawnRows_ = 0;
    entries_.fill(FlowerRecord{});
    start();
}

void GalleryModel::resume()
{
    drawnCount_ = savedDrawnCount_;
    drawnRows_ = savedDrawnRows_;
    start();
}

void GalleryModel::start()
{
    running_ = true;
    total_ = int(names_.size());
    percentStep_ = total_ > 0 ? double(100.0f / float(total_)) : 0.0;
    prefetchDrawing();
    slotsByName_.clear();
    for (int k = 1; k <= catalogue_.count(); ++k)
        slotsByName_[catalogue_.slot(k).NAMAE].append(k);
    position_ = drawnCount_;
    if (position_ < total_)
        stepper_.start();  // the user may act before every position
    else
        finish();
}

void GalleryModel::step()
{
    if (!running_)
        return;
    if (interruptPending_) {
        awaited_.clear();
        stop(position_);
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
    emit drawingProgress((i + 1) * percentStep_);
    const FlowerCatalogue& cat = catalogue_;
    const QString name = i < names_.size() ? names_[i] : QString();
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
            drawCell(visible, drawnCount_, k);
        if (drawnCount_ % 4 == 3) {
            ++drawnRows_;
            if (drawnRows_ % 4 == 0)
                setScrollMaximum(drawnRows_ * kRowPitch);
        }
        ++drawnCount_;
        emit thumbnailDrawn(total_ - drawnCount_, total_);
    }
    if (i <= 15) {
        cells_[size_t(i)].pictureEnabled = true;
        changed(i);
    }
}

void GalleryModel::finish()
{
    running_ = false;
    lastPicture_ = QImage();
    prefetch_->clear();
    slotsByName_.clear();
    if (drawnCount_ % 16 == 0)
        setScrollMaximum(total_ == 0 ? 0 : std::max(0, (drawnRows_ - 4) * kRowPitch));
    colourNameLabels();
    emit drawingFinished(total_);
}

void GalleryModel::stop(int i)
{
    running_ = false;
    interruptPending_ = false;
    savedDrawnCount_ = drawnCount_;
    savedDrawnRows_ = drawnRows_;
    for (int c = 0; c < kCells; ++c) {
        Cell& cell = cells_[size_t(c)];
        cell.pictureEnabled = true;
        cell.colour = NameColour::Green;
        cell.labelEnabled = true;
        changed(c);
    }
    if (drawnCount_ % 16 == 0)
        setScrollMaximum(std::max(0, (drawnRows_ - 4) * kRowPitch));
    emit drawingInterrupted(drawnCount_, total_, (i + 1) * percentStep_);
}

// ---- scrolling and picking -----------------------------------------------------------

void GalleryModel::scrolledTo(int value)
{
    scrollValue_ = value;
    const int r = value / kRowPitch;
    prefetchPage(4 * r);
    for (int i = 0; i < kCells; ++i) {
        const int e = 4 * r + i;
        if (e < drawnCount_) {
            drawCell(i, e, 0);
        } else {
            Cell& cell = cells_[size_t(i)];
            cell.pictureShown = false;
            cell.pictureEnabled = false;
            cell.caption.clear();
            cell.note.clear();
            cell.labelShown = false;
            cell.labelEnabled = false;
        }
        cells_[size_t(i)].pictureEnabled = true;
        changed(i);
    }
    lastPicture_ = QImage();
    colourNameLabels();
}

void GalleryModel::pointOnCell(int i)
{
    for (int j = 0; j < kCells; ++j) {
        const NameColour c = cells_[size_t(j)].colour;
        if (j == i && c == NameColour::Green)
            setColour(j, NameColour::Yellow);
        else if (j != i && c == NameColour::Yellow)
            setColour(j, NameColour::Green);
    }
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

bool GalleryModel::markOpened(const QString& name)
{
    for (int i = 0; i < kCells; ++i)
        if (cells_[size_t(i)].caption == name) {
            setColour(i, NameColour::Red);
            return true;
        }
    return false;
}

void GalleryModel::markClosed(const QString& name)
{
    for (int i = 0; i < kCells; ++i)
        if (cells_[size_t(i)].caption == name)
            setColour(i, NameColour::Green);
}

void GalleryModel::resetNameColours()
{
    for (int i = 0; i < kCells; ++i) {
        cells_[size_t(i)].colour = NameColour::Green;
        cells_[size_t(i)].labelEnabled = true;
        changed(i);
    }
}
