// Small X11 actions the end-to-end tests need and the standard X utilities lack:
//   x_tool close WINDOW [COUNT]
//                       asks a window to close, as a window manager's close button does
//                       (WM_PROTOCOLS / WM_DELETE_WINDOW), COUNT times (1 unless given);
//                       WINDOW in decimal or 0x-hex
//   x_tool ping WINDOW  sends the window a _NET_WM_PING and waits for its client's answer: once
//                       it returns, the client has taken in every event sent to WINDOW before;
//                       fails when no answer comes within ten seconds
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie
        = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

int usage()
{
    std::fprintf(
        stderr, "usage: x_tool warp X Y | x_tool close WINDOW [COUNT] | x_tool ping WINDOW\n");
    return 2;
}

xcb_client_message_event_t protocolMessage(
    xcb_connection_t *connection, xcb_window_t window, const char *protocol)
{
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = internAtom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = internAtom(connection, protocol);
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = window;
    return event;
}

// The client answers by sending the message back to the root window, to those who listen
// for its structure changes.
int ping(xcb_connection_t *connection, xcb_window_t root, xcb_window_t window)
{
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    auto event = protocolMessage(connection, window, "_NET_WM_PING");
    xcb_send_event(
        connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
    // A client that does not answer within ten seconds is taken as hung.
    pollfd readable {xcb_get_file_descriptor(connection), POLLIN, 0};
    for (int waited = 0; waited < 10000 && !xcb_connection_has_error(connection);) {
        xcb_generic_event_t *answer = xcb_poll_for_event(connection);
        if (answer == nullptr) {
            ::poll(&readable, 1, 100);
            waited += 100;
            continue;
        }
        const auto *message = reinterpret_cast<xcb_client_message_event_t *>(answer);
        const bool pong = (answer->response_type & 0x7F) == XCB_CLIENT_MESSAGE
            && message->window == root && message->data.data32[0] == event.data.data32[0]
            && message->data.data32[2] == window;
        std::free(answer);
        if (pong)
            return 0;
    }
    std::fprintf(stderr, "x_tool: no answer to the ping\n");
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "x_tool: cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;

    int status = 0;
    if (std::strcmp(argv[1], "close") == 0 && (argc == 3 || argc == 4)) {
        const auto window = static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0));
        const long count = argc == 4 ? std::atol(argv[3]) : 1;
        const auto event = protocolMessage(connection, window, "WM_DELETE_WINDOW");
        for (long i = 0; i < count; ++i)
            xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                reinterpret_cast<const char *>(&event));
    } else if (std::strcmp(argv[1], "ping") == 0 && argc == 3) {
        status
            = ping(connection, root, static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)));
    } else {
        status = usage();
    }
    // A round trip, so that the request has reached the server when we exit.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
    return status;
}
