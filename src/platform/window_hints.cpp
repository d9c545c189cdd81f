#include "window_hints.hpp"

#include <QByteArray>
#include <QGuiApplication>
#include <QWindow>
#include <array>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

struct LiveTranslationPanelHints::Atoms {
    xcb_connection_t *connection = nullptr;
    xcb_ewmh_connection_t ewmh {};
    bool valid = false;

    explicit Atoms(xcb_connection_t *c)
        : connection(c)
    {
        xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(connection, &ewmh);
        // The replies call frees the cookies; it fails when the server is gone.
        valid = cookies != nullptr && xcb_ewmh_init_atoms_replies(&ewmh, cookies, nullptr) != 0;
    }
    ~Atoms()
    {
        if (valid)
            xcb_ewmh_connection_wipe(&ewmh);
    }
    Q_DISABLE_COPY_MOVE(Atoms)
};

LiveTranslationPanelHints::LiveTranslationPanelHints() = default;
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
    std::array<xcb_atom_t, 4> states {ewmh._NET_WM_STATE_ABOVE, ewmh._NET_WM_STATE_STICKY,
        ewmh._NET_WM_STATE_SKIP_TASKBAR, ewmh._NET_WM_STATE_SKIP_PAGER};
    xcb_ewmh_set_wm_state(&ewmh, id, static_cast<uint32_t>(states.size()), states.data());
    xcb_ewmh_set_wm_desktop(&ewmh, id, kAllDesktops);
    xcb_atom_t utility = ewmh._NET_WM_WINDOW_TYPE_UTILITY;
    xcb_ewmh_set_wm_window_type(&ewmh, id, 1, &utility);
    xcb_flush(m_atoms->connection);
    return true;
}

bool LiveTranslationPanelHints::isFrameExtentsChange(
    const QByteArray &eventType, const void *message) const
{
    if (!m_atoms || !m_atoms->valid || !message || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    // The high bit marks events sent by another client.
    if ((event->response_type & 0x7FU) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *property = static_cast<const xcb_property_notify_event_t *>(message);
    return property->atom == m_atoms->ewmh._NET_FRAME_EXTENTS;
}
