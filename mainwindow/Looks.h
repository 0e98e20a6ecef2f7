#pragma once

// The looks of the picture buttons, front to back: where two are visible for
// a moment, the one with the lower number is in front.
namespace AttrLook {
enum { ONON = 0, ON2 = 1, ON = 2, Pointed = 3, OFF = 4 };  // pressed, selected, selected pointed, pointed, idle
}

namespace SamLook {
// The thumbnail button: index 0 shows thumbnails, index 1 interrupts.
enum { ONON1 = 0, ONON0 = 1, Sam1 = 2, Sam0 = 3, OFF1 = 4, OFF0 = 5 };
inline int ONON(int k) { return k ? ONON1 : ONON0; }
inline int Sam(int k) { return k ? Sam1 : Sam0; }
inline int OFF(int k) { return k ? OFF1 : OFF0; }
}  // namespace SamLook

namespace CmdLook {
// All-data, clear and exit buttons; on2 is the latched all-data look.
enum { ONON = 0, on2 = 1, Pointed = 2, OFF = 3 };
}
