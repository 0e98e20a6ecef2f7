#include "mainwindow/PhotoWindow.h"
#include "widgets/WindowAccessible.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>

PhotoWindow::PhotoWindow(int slot, int noteFontSize)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)
    , slot_(slot)
    , photo_(new PhotoView(this))
    , note_(new QPlainTextEdit(this))
{
    WindowAccessible::install();
    note_->setReadOnly(true);
    note_->setFrameShape(QFrame::NoFrame);
    note_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #FAF7EA; color: #141412; padding: 2px; }"));
    QFont f = note_->font();
    f.setPointSize(noteFontSize);
    note_->setFont(f);
    note_->setAccessibleName(QStringLiteral("解説"));
}

void PhotoWindow::fill(const QImage& photo, PhotoView::Source again, QSize area, const QString& note, int noteHeight,
                       const QString& caption, const QString& flowerName)
{
    flowerName_ = flowerName;
    photo_->hide();
    photo_->setPhoto(photo, std::move(again));
    photo_->setGeometry(0, 0, area.width(), area.height());
    photo_->show();
    note_->hide();
    note_->setPlainText(note);
    note_->setGeometry(0, area.height(), area.width(), noteHeight);
    note_->show();
    setWindowTitle(caption);
    photo_->setAccessibleName(flowerName);
    setAccessibleName(caption);
    setAccessibleDescription(note);
    // The whole description shows: the inside holds photograph and box.
    setFixedSize(area.width(), area.height() + noteHeight);
}

void PhotoWindow::closeEvent(QCloseEvent* e)
{
    if (!reported_) {
        reported_ = true;
        emit closing(slot_);
    }
    e->accept();
}

void PhotoWindow::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}
