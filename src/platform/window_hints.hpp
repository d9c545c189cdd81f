#pragma once

#include <QtGlobal>
#include <memory>

class QByteArray;
class QWindow;

// Asks the X11 window manager to treat a window as a floating utility panel: above other
// windows, on every desktop and sticky, left out of the taskbar and the pager.
//
// The hints are properties of a window that is not mapped yet: apply them right before every
// showing, since a window manager drops them when the window is withdrawn. Elsewhere than on X11
// (Wayland, the offscreen platform) apply() does nothing.
class LiveTranslationPanelHints final {
public:
    LiveTranslationPanelHints();
    ~LiveTranslationPanelHints();
    Q_DISABLE_COPY_MOVE(LiveTranslationPanelHints)

    // Returns whether the hints were written (false off X11 or when the window has no handle).
    bool apply(QWindow *window);

    // Whether a native event of a window these hints were applied to says that the window
    // manager changed the frame it draws around the window (_NET_FRAME_EXTENTS).
    bool isFrameExtentsChange(const QByteArray &eventType, const void *message) const;

    // "On every desktop" for _NET_WM_DESKTOP.
    static constexpr quint32 kAllDesktops = 0xFFFFFFFFU;

private:
    struct Atoms;
    std::unique_ptr<Atoms> m_atoms; // interned on first use, for the application's connection
};
