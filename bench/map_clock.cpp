// Prints "ready" once it listens on the X server, then waits until a top-level window named NAME
// is mapped and prints the CLOCK_MONOTONIC time of that moment in seconds: the start-up
// benchmark's finish line (no window manager).
//   map_clock NAME
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace {

std::string windowName(xcb_connection_t *connection, xcb_window_t window)
{
    const auto cookie = xcb_get_property(
        connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply)
        return {};
    return {static_cast<const char *>(xcb_get_property_value(reply.get())),
        static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: map_clock NAME\n");
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map_clock: cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::printf("ready\n");
    std::fflush(stdout);
    int status = 1;
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
        std::free(event);
        if (mapped && windowName(connection, window) == argv[1]) {
            std::printf("%ld.%09ld\n", static_cast<long>(now.tv_sec), now.tv_nsec);
            status = 0;
            break;
        }
    }
    xcb_disconnect(connection);
    return status;
}
