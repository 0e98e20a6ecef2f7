#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the parts of a slide go on a screen of the given size (pixels), with
// the distances of the window design converted by the screen's twips per
// pixel: the picture centred, the name line 500 twips above its top, the
// description 200 twips under its bottom. A picture too large for the space
// the name line and the description leave is reduced to fit, never enlarged.
class SlideLayout {
public:
    static constexpr int kNameAboveTwips = 500;
    static constexpr int kNoteGapTwips = 200;
    static constexpr int kNoteHeightTwips = 1500;
    // Room kept free at both sides for the button column.
    static constexpr int kSideTwips = 720;

    SlideLayout(QSize screen, int twipsX, int twipsY);

    QSize screen() const { return screen_; }
    // The largest size a picture is shown at.
    QSize pictureBox() const;
    // The picture's size reduced, keeping its proportions, to fit the box;
    // a smaller picture keeps its own size.
    static QSize fitted(QSize picture, QSize box);
    QRect pictureRect(QSize shown) const;
    QPoint namePos(const QRect& picture) const;
    QRect noteRect(const QRect& picture) const;
    // The photo area of a picture found only under its stored name.
    static QSize storedNameArea() { return QSize(320, 240); }

private:
    int px(int twips) const { return twips / twipsX_; }
    int py(int twips) const { return twips / twipsY_; }

    QSize screen_;
    int twipsX_;
    int twipsY_;
};
