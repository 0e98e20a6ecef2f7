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
// come, and so do the keys it knows (focus, Space or Enter, F1); which look
// takes them is the session's business. It takes focus only when its owner
// says so, and shows a focus mark only for focus that a key moved.
class PictureButton : public QWidget {
    Q_OBJECT

public:
    using Handler = std::function<void(const PointerEvent&)>;
    enum class Key {
        Focused,  // focus arrived by a key
        Activate,  // Space or Enter, with the modifiers held
        HelpPressed,  // F1 down
        HelpReleased,  // F1 up
    };
    using KeyHandler = std::function<void(Key, Qt::KeyboardModifiers)>;
    // What a screen reader says of the button, asked for when it is needed.
    struct Spoken {
        QString name;
        QString description;
        bool checkable = false;
        bool checked = false;
        friend bool operator==(const Spoken&, const Spoken&) = default;
    };

    explicit PictureButton(QWidget* parent = nullptr);

    // Looks are added in front-to-back order.
    int addLook(const QPixmap& picture, bool pointingCursor);
    void setPointingCursor(const QCursor& cursor) { pointing_ = cursor; }
    void setHandler(Handler h) { handler_ = std::move(h); }
    void setKeyHandler(KeyHandler h) { keyHandler_ = std::move(h); }
    void setSpoken(std::function<Spoken()> f);
    Spoken spoken() const { return spoken_ ? spoken_() : Spoken{}; }
    // Tells a screen reader what changed since it last asked.
    void spokenMayHaveChanged();
    // The keyboard's click, also the screen reader's press action.
    void activate(Qt::KeyboardModifiers modifiers);
    bool focusMarkShown() const { return hasFocus() && keyboardFocus_; }

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
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

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
    KeyHandler keyHandler_;
    std::function<Spoken()> spoken_;
    Spoken lastSpoken_;
    bool keyboardFocus_ = false;
};
