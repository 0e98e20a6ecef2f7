#pragma once

#include "slideshow/PanelIcons.h"

#include <QWidget>

// One button of the slideshow's column: an icon in three looks. Pointing at
// the idle look raises it; a press on the raised look presses it; the
// release decides. A button that opens something keeps its pressed look
// while open, and a release on that look closes it again.
class PanelButton : public QWidget {
    Q_OBJECT

public:
    enum class Release {
        InsideOnly,  // acts only when released within its own area
        Anywhere,  // acts on every release
    };

    PanelButton(PanelMotif motif, Release rule, bool keepsOpen, QWidget* parent);

    PanelLook look() const { return look_; }
    void setLook(PanelLook look);

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

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    enum class Press { None, FromHover, FromOpen };
    bool inside(QPointF pos) const;

    PanelMotif motif_;
    Release rule_;
    bool keepsOpen_;
    PanelLook look_ = PanelLook::Idle;
    Press press_ = Press::None;
};
