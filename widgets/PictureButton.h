#pragma once

#include "session/Looks.h"

#include <QPixmap>
#include <QVector>
#include <QWidget>
#include <functional>

// A picture button made of a stack of same-sized looks (idle, pointed at,
// pressed, ...). It shows what it is told: the looks visible now, as a mask,
// of which the one added first is in front; with none it hides, so that the
// window beneath gets the pointer. Pointer events go to its handler as they
// come; which look takes them is the session's business.
class PictureButton : public QWidget {
    Q_OBJECT

public:
    using Handler = std::function<void(const PointerEvent&)>;

    explicit PictureButton(QWidget* parent = nullptr);

    // Looks are added in front-to-back order.
    int addLook(const QPixmap& picture, bool pointingCursor);
    void setPointingCursor(const QCursor& cursor) { pointing_ = cursor; }
    void setHandler(Handler h) { handler_ = std::move(h); }

    // Bit n set: look n is visible.
    void setLooks(unsigned mask);
    unsigned looks() const { return mask_; }
    int frontLook() const;

    // True when the point (button coordinates) lies in the button, edges included.
    bool contains(const QPoint& p) const { return p.x() >= 0 && p.y() >= 0 && p.x() <= width() && p.y() <= height(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    struct Look {
        QPixmap picture;
        bool pointing = false;
    };
    void forward(PointerEvent::Kind kind, QMouseEvent* e, Qt::MouseButton button);

    QVector<Look> looks_;
    unsigned mask_ = 0;
    QCursor pointing_{Qt::PointingHandCursor};
    Handler handler_;
};
