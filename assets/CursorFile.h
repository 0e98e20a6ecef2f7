#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

// Cursor files (.cur): an icon directory with the hot spot in place of the
// colour planes, holding one 32-bit image with its AND mask.
namespace CursorFile {

QByteArray write(const QImage& image, QPoint hotSpot);
// False when the data is not a cursor file this program can read.
bool read(const QByteArray& data, QImage* image, QPoint* hotSpot);

}  // namespace CursorFile
