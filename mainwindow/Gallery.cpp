#include "mainwindow/Gallery.h"

#include "widgets/NameLabel.h"
#include "mainwindow/PhotoWindows.h"
#include "pictures/PictureLoader.h"
#include "widgets/ProgressBox.h"
#include "widgets/ThumbnailCell.h"
#include "session/AppContext.h"
#include "mainwindow/MainForm.h"
#include "widgets/HelpBox.h"
#include "mainwindow/Looks.h"
#include "widgets/PictureButton.h"
#include "widgets/PrintSurface.h"
#include "mainwindow/SearchStatus.h"
#include "mainwindow/SearchController.h"
#include "widgets/GalleryField.h"

#include <QApplication>
#include <QScrollBar>
#include <QWidget>

namespace {
const QSize kCell(100, 85);
}

Gallery::Gallery(MainForm& form)
    : f_(form)
    , files_(form.app.GetAppPath())
    , prefetch_(std::make_unique<ThumbnailPrefetch>(kCell))
{
    entries.resize(kTableSize);
    connectCells();
}

Gallery::~Gallery() = default;

// The pictures the drawing loop will put into visible cells next, as it will
// find them: same name scan, same order.
void Gallery::prefetchDrawing()
{
    const FlowerCatalogue& cat = f_.app.catalogue();
    const QStringList& names = f_.search.lstKOUHO;
    int drawn = DrawnCount;
    int visible = 0;
    for (ThumbnailCell* cell : f_.pctPicture)
        visible += cell->isVisible() ? 1 : 0;
    QStringList paths;
    for (int i = DrawnCount; i < names.size() && visible <= 15; ++i)
        for (int k = drawn + 1; k <= cat.FlowerCount() && visible <= 15; ++k)
            if (cat.slot(k).NAMAE == names[i]) {
                paths << files_.dataPath(cat.slot(k).SYASIN);
                ++drawn;
                ++visible;
            }
    prefetch_->start(paths);
}

void Gallery::prefetchPage(int firstEntry)
{
    QStringList paths;
    for (int e = firstEntry; e < firstEntry + 16 && e < DrawnCount; ++e)
        paths << files_.dataPath(entries[e].SYASIN);
    prefetch_->start(paths);
}

void Gallery::connectCells()
{
    for (int i = 0; i < 16; ++i) {
        // The picture forwards to the label of its cell.
        for (CellWidget* part : {static_cast<CellWidget*>(f_.pctPicture[size_t(i)]),
                                 static_cast<CellWidget*>(f_.lblNAMAE[size_t(i)])}) {
            QObject::connect(part, &CellWidget::moved, [this](int c) { Form1_lblNAMAE_MouseMove(c); });
            QObject::connect(part, &CellWidget::pressed, [this](int c, int) { Form1_lblNAMAE_MouseDown(c); });
            QObject::connect(part, &CellWidget::released, [this](int c, int) { Form1_lblNAMAE_MouseUp(c); });
            QObject::connect(part, &CellWidget::clicked, [this](int c) { f_.photos->PickGalleryCell(c); });
        }
    }
    QObject::connect(f_.pctFIELD, &GalleryField::mouseMoved, [this] { Form1_pctFIELD_MouseMove(); });
    QObject::connect(f_.pctFIELD, &GalleryField::mouseReleased, [this](int button, int, QPoint) {
        if (button == 2)
            f_.Form1_Form_MouseUp(2);
    });
    QObject::connect(f_.VScroll1, &QScrollBar::valueChanged, [this](int) {
        if (!f_.VScroll1->isSliderDown())
            Form1_VScroll1_Change();
    });
    QObject::connect(f_.VScroll1, &QScrollBar::sliderReleased, [this] { Form1_VScroll1_Change(); });
    QObject::connect(f_.VScroll1, &QScrollBar::sliderMoved, [this](int) { Form1_VScroll1_Scroll(); });
}

QString Gallery::progressText(int remaining, int total)
{
    return QStringLiteral("サムネイルを表示中... 残り%1/%2枚。").arg(remaining).arg(total);
}

QString Gallery::interruptedText(int drawn, int total)
{
    return QStringLiteral("サムネイルの表示を中断しました。%1/%2枚。").arg(drawn).arg(total);
}

QString Gallery::doneText(int total)
{
    return QStringLiteral("%1枚あります。サムネイルのクリックで、写真と解説を表示します。").arg(total);
}

QString Gallery::tooltipOf(const FlowerRecord& r)
{
    QString t = r.KISETU + u'，' + r.IRO + u'，' + r.KABEN + u'，' + r.HA + u'，' + r.KA;
    if (r.KA == QStringLiteral("その他"))
        t += u'（' + r.KA2 + u'）';
    return t;
}

void Gallery::clearCells()
{
    for (int i = 15; i >= 0; --i) {
        ThumbnailCell* cell = f_.pctPicture[size_t(i)];
        cell->hide();
        cell->clearPicture();
        cell->setEnabled(false);
        NameLabel* label = f_.lblNAMAE[size_t(i)];
        label->hide();
        label->setCaption(QString());
    }
    DrawnCount = 0;
}

void Gallery::resetScroll()
{
    QSignalBlocker block(f_.VScroll1);  // no page redraw for the reset itself
    f_.VScroll1->setMaximum(0);
    f_.VScroll1->setValue(0);
}

void Gallery::home()
{
    f_.pctFIELD->move(208, 0);
    resetScroll();
}

void Gallery::RefreshResults()
{
    SearchState& s = f_.search;
    if (s.DrawSuspended) {
        f_.pctProg->show();
        f_.pctKensaku->hide();
        DrawnCount = SavedDrawnCount;
        DrawnRows = SavedDrawnRows;
    } else {
        resetScroll();
        if (DrawnCount > 0)
            clearCells();
        if (s.lstKOUHO.isEmpty()) {
            f_.pctPicture[0]->hide();
            f_.lblNAMAE[0]->hide();
        }
        DrawnCount = 0;
        DrawnRows = 0;
    }
    ShowThumbnails();
}

QImage Gallery::thumbnailFor(const QString& stored, const QString& slotStored, bool fallBack)
{
    PictureLoader::Result r = prefetch_->take(files_.dataPath(stored));
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

void Gallery::DrawCell(int c, int e, int slot)
{
    const FlowerRecord& entry = entries[e];
    const QString slotStored = slot > 0 ? f_.app.catalogue().slot(slot).SYASIN : entry.SYASIN;
    ThumbnailCell* cell = f_.pctPicture[size_t(c)];
    cell->setPicture(thumbnailFor(entry.SYASIN, slotStored, slot > 0));
    cell->show();
    cell->setEnabled(false);
    cell->update();
    NameLabel* label = f_.lblNAMAE[size_t(c)];
    label->setCaption(entry.NAMAE);
    label->show();
    label->setEnabled(false);
    label->setToolTip(tooltipOf(entry));
    label->update();
}

void Gallery::ShowThumbnails()
{
    SearchState& s = f_.search;
    f_.VScroll1->setPageStep(kPage);
    f_.VScroll1->setSingleStep(kRowPitch);
    if (!s.DrawSuspended)
        entries.fill(FlowerRecord{});
    const int L = int(s.lstKOUHO.size());
    const double step = L > 0 ? double(100.0f / float(L)) : 0.0;
    if (!f_.pctProg->isVisible())
        f_.pctProg->show();
    const FlowerCatalogue& cat = f_.app.catalogue();
    prefetchDrawing();

    for (int i = DrawnCount; i < L; ++i) {
        QApplication::processEvents();  // the one point where the user can act
        if (s.DrawInterrupt) {
            interrupt(i, step, L);
            return;
        }
        f_.pctProg->DrawProgress((i + 1) * step);
        const QString name = i < s.lstKOUHO.size() ? s.lstKOUHO[i] : QString();
        const int first = DrawnCount + 1;
        for (int k = first; k <= cat.FlowerCount() && DrawnCount < kTableSize; ++k) {
            if (cat.slot(k).NAMAE != name)
                continue;
            entries[DrawnCount] = cat.slot(k);
            int visible = 0;
            for (ThumbnailCell* cell : f_.pctPicture)
                visible += cell->isVisible() ? 1 : 0;
            if (visible <= 15)
                DrawCell(visible, DrawnCount, k);
            if (DrawnCount % 4 == 3) {
                ++DrawnRows;
                if (DrawnRows % 4 == 0) {
                    QSignalBlocker block(f_.VScroll1);
                    f_.VScroll1->setMaximum(DrawnRows * kRowPitch);
                }
            }
            ++DrawnCount;
            f_.printMessage(progressText(L - DrawnCount, L), true);
        }
        if (i <= 15)
            f_.pctPicture[size_t(i)]->setEnabled(true);
    }
    lastPicture_ = QImage();
    prefetch_->clear();
    if (DrawnCount % 16 == 0) {
        QSignalBlocker block(f_.VScroll1);
        f_.VScroll1->setMaximum(L == 0 ? 0 : std::max(0, (DrawnRows - 4) * kRowPitch));
    }
    ColourNameLabels();
    s.StatusMessage = L == 0 ? QString::fromUtf8(SearchController::kNotFound) : doneText(L);
    f_.printMessage(s.StatusMessage);
    using namespace SamLook;
    if (f_.imgSam->isLookVisible(Sam1) || f_.imgSam->isLookVisible(ONON1) || f_.imgSam->isLookVisible(OFF1)) {
        f_.imgSam->showLook(OFF0);
        for (int look : {Sam1, ONON1, OFF1})
            f_.imgSam->hideLook(look);
    }
    s.DrawBusy = false;
    f_.pctProg->hide();
    f_.pctKensaku->show();
    s.DrawSuspended = false;
    s.DrawRequested = false;
    s.AllMode = false;
    f_.status->ShowConditions();
}

void Gallery::interrupt(int i, double step, int total)
{
    SearchState& s = f_.search;
    s.DrawInterrupt = false;
    s.DrawBusy = false;
    s.DrawSuspended = true;
    SavedDrawnCount = DrawnCount;
    SavedDrawnRows = DrawnRows;
    for (int c = 0; c < 16; ++c) {
        f_.pctPicture[size_t(c)]->setEnabled(true);
        f_.lblNAMAE[size_t(c)]->setColour(NameLabel::kGreen);
        f_.lblNAMAE[size_t(c)]->setEnabled(true);
    }
    f_.pctProg->DrawProgress((i + 1) * step);
    s.StatusMessage = interruptedText(DrawnCount, total);
    f_.printMessage(s.StatusMessage, true);
    if (DrawnCount % 16 == 0) {
        QSignalBlocker block(f_.VScroll1);
        f_.VScroll1->setMaximum(std::max(0, (DrawnRows - 4) * kRowPitch));
    }
}

void Gallery::ColourNameLabels()
{
    for (NameLabel* label : f_.lblNAMAE) {
        label->setColour(lstHyouji.contains(label->caption()) ? NameLabel::kRed : NameLabel::kGreen);
        label->setEnabled(true);
    }
}

// ---- scrolling and picking -----------------------------------------------------

void Gallery::Form1_VScroll1_Change()
{
    f_.VScroll1->setCursor(f_.scrollRest);
    f_.txtKaisetu->setText(QString());
    f_.txtKaisetu->hide();
    const int r = f_.VScroll1->value() / kRowPitch;
    prefetchPage(4 * r);
    for (int i = 0; i < 16; ++i) {
        const int e = 4 * r + i;
        if (e < DrawnCount) {
            DrawCell(i, e, 0);
        } else {
            ThumbnailCell* cell = f_.pctPicture[size_t(i)];
            cell->hide();
            cell->setEnabled(false);
            NameLabel* label = f_.lblNAMAE[size_t(i)];
            label->setCaption(QString());
            label->hide();
            label->setEnabled(false);
        }
        f_.pctPicture[size_t(i)]->setEnabled(true);
    }
    lastPicture_ = QImage();
    ColourNameLabels();
}

QString Gallery::rangeTip(int value) const
{
    const int r = value / kRowPitch;
    for (int i = 15; i >= 0; --i) {
        const int e = 4 * r + i;
        if (e < entries.size() && !entries[e].NAMAE.isEmpty()) {
            const QString first = 4 * r < entries.size() ? entries[4 * r].NAMAE : QString();
            return first + QStringLiteral(" ～ ") + entries[e].NAMAE + u' ';
        }
    }
    return QString();
}

void Gallery::Form1_VScroll1_Scroll()
{
    f_.VScroll1->setCursor(f_.scrollMove);
    HelpBox* tip = f_.txtKaisetu;
    tip->setText(rangeTip(f_.VScroll1->sliderPosition()));
    const QPoint local = f_.window->mapFromGlobal(QCursor::pos());
    tip->move(local.x() - (tip->width() + 15), local.y() - (tip->height() + 30));
    tip->raise();
    tip->show();
}

void Gallery::Form1_lblNAMAE_MouseMove(int i)
{
    for (int j = 0; j < 16; ++j) {
        NameLabel* l = f_.lblNAMAE[size_t(j)];
        if (j == i && l->colour() == NameLabel::kGreen)
            l->setColour(NameLabel::kYellow);
        else if (j != i && l->colour() == NameLabel::kYellow)
            l->setColour(NameLabel::kGreen);
    }
    f_.status->ResetHover();
    f_.status->ShowConditions();
}

void Gallery::Form1_pctFIELD_MouseMove()
{
    for (NameLabel* l : f_.lblNAMAE)
        if (l->colour() == NameLabel::kYellow)
            l->setColour(NameLabel::kGreen);
    f_.status->ResetHover();
    f_.status->ShowConditions();
}

void Gallery::Form1_lblNAMAE_MouseDown(int i)
{
    const int c = i % 4, q = i / 4;
    f_.pctPicture[size_t(i)]->setGeometry(10 + 109 * c, 9 + 109 * q, 98, 84);
    f_.lblNAMAE[size_t(i)]->setGeometry(10 + 109 * c, 93 + 109 * q, 98, 14);
}

void Gallery::Form1_lblNAMAE_MouseUp(int i)
{
    const int c = i % 4, q = i / 4;
    f_.pctPicture[size_t(i)]->setGeometry(9 + 109 * c, 8 + 109 * q, 100, 85);
    f_.lblNAMAE[size_t(i)]->setGeometry(9 + 109 * c, 92 + 109 * q, 100, 16);
}
