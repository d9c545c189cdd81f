#include "window_compositing.hpp"

#include <cstdlib>
#include <string>
#include <xcb/xcb.h>

#include <QGuiApplication>

namespace {

bool selectionHasOwner(xcb_connection_t *connection, const std::string &name)
{
    const auto cookie
        = xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.c_str());
    xcb_intern_atom_reply_t *atomReply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!atomReply)
        return false;
    const xcb_atom_t atom = atomReply->atom;
    free(atomReply); // NOLINT(cppcoreguidelines-no-malloc): xcb replies are malloc'ed
    if (atom == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t *ownerReply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom), nullptr);
    if (!ownerReply)
        return false;
    const bool owned = ownerReply->owner != XCB_NONE;
    free(ownerReply); // NOLINT(cppcoreguidelines-no-malloc)
    return owned;
}

} // namespace

bool translucentWindowsComposited()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true; // Wayland always composites; offscreen renders into images with alpha
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    for (int screen = 0; screen < screens; ++screen) {
        if (selectionHasOwner(connection, "_NET_WM_CM_S" + std::to_string(screen)))
            return true;
    }
    return false;
}
