#pragma once

#include <QRectF>

class QPainter;

enum class PanelMotif { Book, Flower, Sunset, Notes, Stopwatch };
enum class PanelLook { Idle, Hover, Pressed };

// The icons of the slideshow's button column, drawn as shapes on a 16 x 16
// grid in the sixteen classic colours, so that they stay sharp at any screen
// scale. The hover look adds a raised edge, the pressed look a sunken one.
class PanelIcons {
public:
    static constexpr int kSize = 16;

    static void paint(QPainter& p, PanelMotif motif, PanelLook look, const QRectF& target);

private:
    static void book(QPainter& p);
    static void flower(QPainter& p);
    static void sunset(QPainter& p);
    static void notes(QPainter& p);
    static void stopwatch(QPainter& p);
    static void edge(QPainter& p, PanelLook look);
};
