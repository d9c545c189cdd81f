#include "window_hints.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QWindow>

namespace {

// _NET_WM_STATE and _NET_WM_DESKTOP requests name their source: an ordinary application.
constexpr xcb_ewmh_client_source_type_t kSource = XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL;

template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie
        = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const ReplyPointer<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

} // namespace

struct LiveTranslationPanelHints::Atoms {
    xcb_connection_t *connection = nullptr;
    xcb_ewmh_connection_t ewmh {};
    // KDE's window manager keeps windows in this state out of its window switcher.
    xcb_atom_t skipSwitcher = XCB_ATOM_NONE;
    bool valid = false;

    explicit Atoms(xcb_connection_t *c)
        : connection(c)
    {
        xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(connection, &ewmh);
        // The replies call frees the cookies; it fails when the server is gone.
        valid = cookies != nullptr && xcb_ewmh_init_atoms_replies(&ewmh, cookies, nullptr) != 0;
        if (valid)
            skipSwitcher = internAtom(connection, "_KDE_NET_WM_STATE_SKIP_SWITCHER");
    }
    ~Atoms()
    {
        if (valid)
            xcb_ewmh_connection_wipe(&ewmh);
    }
    Q_DISABLE_COPY_MOVE(Atoms)

    // The index of the screen whose root window holds the window, or -1.
    int screenOf(xcb_window_t window) const
    {
        const ReplyPointer<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr),
            &std::free);
        if (!tree)
            return -1;
        for (int i = 0; i < ewmh.nb_screens; ++i) {
            if (ewmh.screens[i]->root == tree->root)
                return i;
        }
        return -1;
    }
};

LiveTranslationPanelHints::LiveTranslationPanelHints(Role role)
    : m_role(role)
{
}

LiveTranslationPanelHints::~LiveTranslationPanelHints() = default;

bool LiveTranslationPanelHints::apply(QWindow *window)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || !x11->connection())
        return false;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (id == XCB_WINDOW_NONE)
        return false;
    if (!m_atoms || m_atoms->connection != x11->connection())
        m_atoms = std::make_unique<Atoms>(x11->connection());
    if (!m_atoms->valid)
        return false;

    xcb_ewmh_connection_t &ewmh = m_atoms->ewmh;
    std::vector<xcb_atom_t> states {ewmh._NET_WM_STATE_SKIP_TASKBAR, ewmh._NET_WM_STATE_SKIP_PAGER};
    if (m_role == Role::panel) {
        states.insert(states.end(), {ewmh._NET_WM_STATE_ABOVE, ewmh._NET_WM_STATE_STICKY});
        if (m_atoms->skipSwitcher != XCB_ATOM_NONE)
            states.push_back(m_atoms->skipSwitcher);
        xcb_ewmh_set_wm_desktop(&ewmh, id, kAllDesktops);
        xcb_atom_t utility = ewmh._NET_WM_WINDOW_TYPE_UTILITY;
        xcb_ewmh_set_wm_window_type(&ewmh, id, 1, &utility);
    }
    xcb_ewmh_set_wm_state(&ewmh, id, static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(m_atoms->connection);
    return true;
}

LiveTranslationPanelHints::News LiveTranslationPanelHints::handleNativeEvent(
    QWindow *window, const QByteArray &eventType, const void *message)
{
    if (!m_atoms || !m_atoms->valid || !window || !message || eventType != "xcb_generic_event_t")
        return News::none;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    // The high bit marks events sent by another client.
    switch (event->response_type & 0x7FU) {
    case XCB_MAP_NOTIFY:
        if (static_cast<const xcb_map_notify_event_t *>(message)->window != id)
            return News::none;
        if (m_role == Role::panel && windowManagerRuns())
            requestHints(id);
        withdrawAttentionDemand(id);
        return News::mapped;
    case XCB_PROPERTY_NOTIFY: {
        const auto *property = static_cast<const xcb_property_notify_event_t *>(message);
        if (property->window != id)
            return News::none;
        if (property->atom == m_atoms->ewmh._NET_WM_STATE)
            withdrawAttentionDemand(id);
        return property->atom == m_atoms->ewmh._NET_FRAME_EXTENTS ? News::frameChanged : News::none;
    }
    default: return News::none;
    }
}

bool LiveTranslationPanelHints::requestActivation(QWindow *window)
{
    if (!m_atoms || !m_atoms->valid || !window || !windowManagerRuns())
        return false;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const int screen = m_atoms->screenOf(id);
    if (screen < 0)
        return false;
    // Source "other": a request that stands for a direct action of the user, which window
    // managers grant even to a window that was mapped without focus.
    xcb_ewmh_request_change_active_window(&m_atoms->ewmh, screen, id,
        XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME, XCB_WINDOW_NONE);
    xcb_flush(m_atoms->connection);
    return true;
}

bool LiveTranslationPanelHints::windowManagerRuns() const
{
    // A window manager names its check window on the root, and the check window names itself;
    // one that has gone leaves a stale or dangling name behind.
    xcb_ewmh_connection_t &ewmh = m_atoms->ewmh;
    for (int i = 0; i < ewmh.nb_screens; ++i) {
        xcb_window_t check = XCB_WINDOW_NONE;
        xcb_window_t self = XCB_WINDOW_NONE;
        if (xcb_ewmh_get_supporting_wm_check_reply(&ewmh,
                xcb_ewmh_get_supporting_wm_check(&ewmh, ewmh.screens[i]->root), &check, nullptr)
            && check != XCB_WINDOW_NONE
            && xcb_ewmh_get_supporting_wm_check_reply(
                &ewmh, xcb_ewmh_get_supporting_wm_check(&ewmh, check), &self, nullptr)
            && self == check)
            return true;
    }
    return false;
}

void LiveTranslationPanelHints::requestHints(quint32 window) const
{
    xcb_ewmh_connection_t &ewmh = m_atoms->ewmh;
    const int screen = m_atoms->screenOf(window);
    if (screen < 0)
        return;
    const auto add = XCB_EWMH_WM_STATE_ADD;
    xcb_ewmh_request_change_wm_desktop(&ewmh, screen, window, kAllDesktops, kSource);
    xcb_ewmh_request_change_wm_state(
        &ewmh, screen, window, add, ewmh._NET_WM_STATE_ABOVE, ewmh._NET_WM_STATE_STICKY, kSource);
    xcb_ewmh_request_change_wm_state(&ewmh, screen, window, add, ewmh._NET_WM_STATE_SKIP_TASKBAR,
        ewmh._NET_WM_STATE_SKIP_PAGER, kSource);
    if (m_atoms->skipSwitcher != XCB_ATOM_NONE)
        xcb_ewmh_request_change_wm_state(
            &ewmh, screen, window, add, m_atoms->skipSwitcher, XCB_ATOM_NONE, kSource);
    xcb_flush(m_atoms->connection);
}

void LiveTranslationPanelHints::withdrawAttentionDemand(quint32 window) const
{
    xcb_ewmh_connection_t &ewmh = m_atoms->ewmh;
    xcb_ewmh_get_atoms_reply_t states {};
    if (!xcb_ewmh_get_wm_state_reply(&ewmh, xcb_ewmh_get_wm_state(&ewmh, window), &states, nullptr))
        return;
    const bool demanded = std::find(states.atoms, states.atoms + states.atoms_len,
                              ewmh._NET_WM_STATE_DEMANDS_ATTENTION)
        != states.atoms + states.atoms_len;
    xcb_ewmh_get_atoms_reply_wipe(&states);
    if (!demanded)
        return;
    const int screen = m_atoms->screenOf(window);
    if (screen < 0)
        return;
    xcb_ewmh_request_change_wm_state(&ewmh, screen, window, XCB_EWMH_WM_STATE_REMOVE,
        ewmh._NET_WM_STATE_DEMANDS_ATTENTION, XCB_ATOM_NONE, kSource);
    xcb_flush(m_atoms->connection);
}
