#include "app/FrameExtentsRequest.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atomOf(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// Whether the running window manager says it answers the request; without
// one (or with one that does not) nobody would, and the window would wait.
bool supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t request)
{
    const xcb_atom_t list = atomOf(c, "_NET_SUPPORTED");
    xcb_get_property_reply_t* p =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, list, XCB_ATOM_ATOM, 0, 4096), nullptr);
    bool found = false;
    if (p && p->type == XCB_ATOM_ATOM && p->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(p));
        const int n = xcb_get_property_value_length(p) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < n && !found; ++i)
            found = atoms[i] == request;
    }
    std::free(p);
    return found;
}

}  // namespace

bool FrameExtentsRequest::send(QWindow* window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window)
        return false;
    // A platform other than xcb (offscreen, for one) may answer for X11
    // without a connection to a server.
    xcb_connection_t* c = x11->connection();
    if (!c || xcb_connection_has_error(c))
        return false;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t request = atomOf(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr);
    const bool ok = request != XCB_ATOM_NONE && tree && supported(c, tree->root, request);
    if (ok) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = id;
        ev.type = request;
        xcb_send_event(c, 0, tree->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&ev));
        xcb_flush(c);
    }
    std::free(tree);
    return ok;
}
