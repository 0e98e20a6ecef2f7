#pragma once

#include <QImage>
#include <QWidget>

// One thumbnail picture of the gallery (100 x 85). Shows the part of its
// picture that fits; clicks arrive only while it is enabled.
class ThumbnailCell : public QWidget {
    Q_OBJECT

public:
    ThumbnailCell(int index, QWidget* parent = nullptr);

    int index() const { return index_; }
    void setPicture(const QImage& picture);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }

signals:
    void moved(int index);
    void pressed(int index, int button);
    void released(int index, int button);
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    int index_;
    QImage picture_;
};
