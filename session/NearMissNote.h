#pragma once

#include "search/Selection.h"

#include <QString>

struct FlowerRecord;

// What a near miss's cell says of it: the one chosen panel the flower does
// not meet, with the choices and the flower's own value in words, as
// "葉のつき方が違います（対生・輪生ではなく互生）".
namespace NearMissNote {

// "季節", "花の色", "花弁の形", "葉のつき方", "科"
QString panelName(int category);
QString text(int category, const Selection& selection, const FlowerRecord& record);

}  // namespace NearMissNote
