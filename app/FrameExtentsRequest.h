#pragma once

class QWindow;

// Asks the X11 window manager which frame it will put around a window that
// is not mapped yet (_NET_REQUEST_FRAME_EXTENTS); its answer arrives as the
// window's _NET_FRAME_EXTENTS, which Qt reports as the frame margins. False
// where there is no X11 display to ask (Wayland, offscreen, no connection).
class FrameExtentsRequest {
public:
    static bool send(QWindow* window);
};
