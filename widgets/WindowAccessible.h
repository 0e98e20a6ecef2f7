#pragma once

// The program's own top-level windows (plain widgets made windows: the main
// window, the photo windows, the slideshow, the loading screen) are frames to
// a screen reader, named by their title as Qt names every window. Without
// this they would be anonymous clients; dialogs and menus keep Qt's own
// interfaces.
namespace WindowAccessible {

// Installs the factory once; later calls do nothing.
void install();

}  // namespace WindowAccessible
