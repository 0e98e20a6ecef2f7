#pragma once

#include "slideshow/PanelIcons.h"

#include <QWidget>

// One button of the slideshow's column: an icon in three looks. Pointing at
// the idle look raises it; a press on the raised look presses it; the
// release decides. A button that opens something keeps its pressed look
// while open, and a release on that look closes it again. Space or Enter on
// the focused button is a click inside it.
class PanelButton : public QWidget {
    Q_OBJECT

public:
    enum class Release {
        InsideOnly,  // acts only when released within its own area
        Anywhere,  // acts on every release
    };
    // What the button is to a screen reader: a toggle (checked while open),
    // a button that opens a part of the panel (expanded while open), or a
    // command.
    enum class Kind { Toggle, Opener, Command };

    PanelButton(PanelMotif motif, Release rule, Kind kind, QWidget* parent);

    Kind kind() const { return kind_; }
    PanelLook look() const { return look_; }
    void setLook(PanelLook look);
    // Opened and not yet closed again (the kept pressed look).
    bool isOpen() const { return open_; }
    // Whether the last action came from a key (or a screen reader) rather
    // than from the pointer.
    bool activatedByKey() const { return byKey_; }
    // The focus came by a key: the window draws its mark around the button.
    bool focusMarkShown() const { return keyboardFocus_ && hasFocus(); }

    // A click inside the button, as a key or a screen reader gives it.
    void activate();

signals:
    void lookChanged(PanelLook look);
    // The pointer is over the button; pressedLook tells which tooltip text.
    void pointed(bool pressedLook);
    // Released after a press on the raised look: the button's action.
    void opened();
    // Released after a press on the kept pressed look: the closing action.
    // The owner returns the button to its idle look when the close succeeds.
    void closing();
    // Released outside after a press on the raised look: no action.
    void cancelled();
    // Released outside after a press on the kept pressed look.
    void closeMissed();
    void focusMarkChanged();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;

private:
    enum class Press { None, FromHover, FromOpen };
    bool inside(QPointF pos) const;
    void open();

    PanelMotif motif_;
    Release rule_;
    Kind kind_;
    PanelLook look_ = PanelLook::Idle;
    Press press_ = Press::None;
    bool open_ = false;
    bool byKey_ = false;
    bool keyboardFocus_ = false;
};
