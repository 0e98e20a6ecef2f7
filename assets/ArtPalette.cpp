#include "assets/ArtPalette.h"

namespace ArtPalette {

// clang-format off
QColor windowBackground() { return QColor(0xE4, 0xEA, 0xD8); }     // pale sage
QColor panelBackground() { return QColor(0xF4, 0xF2, 0xE3); }      // warm cream
QColor panelCaption() { return QColor(0x2E, 0x4F, 0x2C); }         // deep leaf green
QColor stripBackground() { return QColor(0xFA, 0xF7, 0xEA); }      // paper white
QColor stripText() { return QColor(0x14, 0x14, 0x12); }            // near black
QColor fieldBackgroundBase() { return QColor(0x15, 0x22, 0x1A); }  // green-black
// clang-format on

}  // namespace ArtPalette
