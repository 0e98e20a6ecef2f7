#include "app/FrameExtentsRequest.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

bool FrameExtentsRequest::send(QWindow* window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window)
        return false;
    xcb_connection_t* c = x11->connection();
    const auto id = xcb_window_t(window->winId());
    static const char kName[] = "_NET_REQUEST_FRAME_EXTENTS";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(kName)), kName), nullptr);
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr);
    const bool ok = atom && tree;
    if (ok) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = id;
        ev.type = atom->atom;
        xcb_send_event(c, 0, tree->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&ev));
        xcb_flush(c);
    }
    std::free(atom);
    std::free(tree);
    return ok;
}
