#pragma once

#include "widgets/PhotoView.h"

#include <QWidget>

class QPlainTextEdit;

// A flower's photograph with its description under it, in a window of its
// own. Closing it by any means (Esc included) reports the close once; its
// owner then lets it go.
class PhotoWindow : public QWidget {
    Q_OBJECT

public:
    PhotoWindow(int slot, int noteFontSize);

    int slot() const { return slot_; }
    const QString& flowerName() const { return flowerName_; }

    // Photograph (shown at its own size, or in the given area; fetched
    // again by `again` when drawn once more), description of the given
    // height under it, caption; the inside is sized to fit both.
    void fill(const QImage& photo, PhotoView::Source again, QSize area, const QString& note, int noteHeight,
              const QString& caption, const QString& flowerName);

    PhotoView* photo() const { return photo_; }
    QPlainTextEdit* note() const { return note_; }

signals:
    void closing(int slot);

protected:
    void closeEvent(QCloseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    int slot_;
    QString flowerName_;
    PhotoView* photo_;
    QPlainTextEdit* note_;
    bool reported_ = false;
};
