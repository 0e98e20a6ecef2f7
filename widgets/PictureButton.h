#pragma once

#include <QPixmap>
#include <QVector>
#include <QWidget>
#include <functional>

// A picture button made of a stack of same-sized looks (idle, pointed at,
// pressed, ...). Any number of looks may be visible; the one with the lowest
// index among them is in front, shows, and receives the pointer events. With
// no look visible the button is hidden and the window beneath gets the events.
// A press is remembered with the look that received it, and the release goes
// to that look wherever the pointer then is.
class PictureButton : public QWidget {
    Q_OBJECT

public:
    struct Event {
        enum Kind { Move, Down, Up } kind;
        int look;    // the look that receives the event
        int button;  // 1 left, 2 right, 4 middle (0 for a move)
        int shift;   // 1 Shift, 2 Ctrl, 4 Alt, added up
        QPoint pos;  // relative to the button's top-left corner
    };
    using Handler = std::function<void(const Event&)>;

    explicit PictureButton(QWidget* parent = nullptr);

    // Looks are added in front-to-back order.
    int addLook(const QPixmap& picture, bool pointingCursor);
    void setPointingCursor(const QCursor& cursor) { pointing_ = cursor; }
    void setHandler(Handler h) { handler_ = std::move(h); }

    void showLook(int look);
    void hideLook(int look);
    bool isLookVisible(int look) const { return looks_.value(look).visible; }
    int frontLook() const;
    // Repaints at once, so that a new look shows before a long step starts.
    void repaintNow();

    // True when the point (button coordinates) lies in the button, edges included.
    bool contains(const QPoint& p) const { return p.x() >= 0 && p.y() >= 0 && p.x() <= width() && p.y() <= height(); }

    static int buttonCode(Qt::MouseButton b);
    static int shiftCode(Qt::KeyboardModifiers m);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    struct Look {
        QPixmap picture;
        bool pointing = false;
        bool visible = false;
    };
    void lookChanged();
    void dispatch(Event::Kind kind, int look, QMouseEvent* e, int button);

    QVector<Look> looks_;
    QCursor pointing_{Qt::PointingHandCursor};
    Handler handler_;
    int pressedLook_ = -1;
};
