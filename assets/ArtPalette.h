#pragma once

#include <QColor>

// The few colours every painted surface of the main window agrees on.
// Pale cream and sage for the frame around the pictures, so the flowers
// themselves stay the brightest things on screen; a deep green-black for the
// gallery field, because the plant names are written on it in pure green,
// red and yellow and only a dark ground lets those read.
namespace ArtPalette {

QColor windowBackground();
QColor panelBackground();
QColor panelCaption();
QColor stripBackground();
QColor stripText();
QColor fieldBackgroundBase();

}  // namespace ArtPalette
