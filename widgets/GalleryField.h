#pragma once

#include <QImage>
#include <QWidget>

// The thumbnail field: a fixed background picture holding the 16 cells.
class GalleryField : public QWidget {
    Q_OBJECT

public:
    explicit GalleryField(QWidget* parent = nullptr);

signals:
    void mouseMoved();
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    QImage background_;
};
