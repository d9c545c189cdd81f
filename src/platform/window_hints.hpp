#pragma once

#include <memory>

#include <QtGlobal>

class QByteArray;
class QWindow;

// Asks the X11 window manager to treat a window as part of a floating utility panel.
//
// The panel: above other windows, on every desktop and sticky, left out of the taskbar, the pager
// and the window switcher, never asking for the user's attention. A popover of the panel: left
// out of the taskbar and the pager.
//
// The hints are properties of a window that is not mapped yet: apply them right before every
// showing, since a window manager drops them when the window is withdrawn. Once the window is
// mapped, handleNativeEvent() repeats them as requests to a running window manager, as a client
// changing a mapped window must. Elsewhere than on X11 (Wayland, the offscreen platform) they do
// nothing.
class LiveTranslationPanelHints final {
public:
    enum class Role { panel, popover };

    explicit LiveTranslationPanelHints(Role role = Role::panel);
    ~LiveTranslationPanelHints();
    Q_DISABLE_COPY_MOVE(LiveTranslationPanelHints)

    // Returns whether the hints were written (false off X11 or when the window has no handle).
    bool apply(QWindow *window);

    // What a native event of the window says.
    enum class News {
        none,
        mapped, // the window manager mapped the window
        frameChanged, // it changed the frame it draws around the window (_NET_FRAME_EXTENTS)
    };

    // Follows a native event of a window these hints were applied to. When the window manager has
    // mapped the panel, the hints go to it again as requests; when it says the panel demands
    // attention, that is withdrawn.
    News handleNativeEvent(QWindow *window, const QByteArray &eventType, const void *message);

    // Asks a running window manager to activate the mapped panel on the user's behalf (the host
    // asked at the user's request). Returns whether the request went out.
    bool requestActivation(QWindow *window);

    // "On every desktop" for _NET_WM_DESKTOP.
    static constexpr quint32 kAllDesktops = 0xFFFFFFFFU;

private:
    struct Atoms;
    bool windowManagerRuns() const;
    void requestHints(quint32 window) const;
    void withdrawAttentionDemand(quint32 window) const;

    Role m_role;
    std::unique_ptr<Atoms> m_atoms; // interned on first use, for the application's connection
};
