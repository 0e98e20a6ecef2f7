#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>

// A photograph drawn at the top left on black. Once it has been drawn, the
// window's backing store keeps its pixels, so the view lets its own copy go
// (about 1.5 MB for each open photo window); the rare later repaint (a change
// of screen, the window shown again) fetches the pixels once more through
// the given source. Without a source the view keeps its copy.
class PhotoView : public QWidget {
    Q_OBJECT

public:
    explicit PhotoView(QWidget* parent = nullptr);

    using Source = std::function<QImage()>;
    void setPhoto(const QImage& photo, Source again = {});

    // What the view shows: its copy, or the pixels fetched again.
    QImage image() const;
    bool holdsPixels() const { return !pixmap_.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap pixmap_;
    Source again_;
};
