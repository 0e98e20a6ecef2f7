#pragma once

#include "assets/ArtPack.h"

#include <QImage>
#include <QList>
#include <QPoint>

// Every picture of the main window's chrome, drawn by code so that it stays
// sharp at any device pixel ratio. Each function paints at `scale` device
// pixels per logical pixel and returns an image whose devicePixelRatio is
// `scale`, so callers place it in logical coordinates. The program carries
// the pictures it shows at scale 1 as drawn by the build (ArtPack), and
// draws only the others.
class ButtonArt {
public:
    // Attribute categories: 0 season, 1 colour, 2 petal form,
    // 3 leaf arrangement, 4 family.
    enum class AttributeLook { Unselected, Pointed, Pressed, SelectedPointed, Selected };
    enum class Command { Play, Pause, AllData, Clear, Quit };
    enum class CommandLook { Idle, Pointed, Pressed, Latched };

    // Number of pictures in an attribute category (0 for an unknown one).
    static int motifCount(int category);

    // 32 x 32 logical pixels. An unknown category or index gives the bare face.
    static QImage attributeButton(int category, int index, AttributeLook look, int scale = 1);
    // 48 x 32 logical pixels.
    static QImage commandButton(Command command, CommandLook look, int scale = 1);

    // 32 x 32 cursor pictures and their hot spots in logical pixels.
    static QImage pointingHand(int scale = 1);
    static QImage scrollPointerRest(int scale = 1);
    static QImage scrollPointerMove(int scale = 1);
    static QPoint pointingHandHotSpot();
    static QPoint scrollPointerHotSpot();

    // The scale that draws sharply on a device with this pixel ratio.
    static int scaleFor(qreal devicePixelRatio);

    static QImage loadingPicture(int scale = 1);  // 400 x 300
    static QImage fieldBackground(int scale = 1);  // 448 x 444
    static QImage noFilePicture();  // 320 x 240
    static QImage appIcon(int size);  // size x size, 16 .. 256

    // Every picture the program carries drawn (ArtPack), at scale 1.
    static QList<ArtPack::Entry> packContents();
};
