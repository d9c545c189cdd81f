#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <QPoint>
#include <QRect>

// One screen as the placement rules see it, in global coordinates (origin top-left).
struct LiveTranslationScreenArea {
    QRect frame; // the whole screen
    QRect visibleFrame; // without the desktop's panels and docks

    bool operator==(const LiveTranslationScreenArea &) const = default;
};

// The screens in the desktop's order, which of them is the primary one, and the pointer.
struct LiveTranslationScreenLayout {
    std::vector<LiveTranslationScreenArea> screens;
    std::optional<std::size_t> primary;
    QPoint pointer;
};

// What placing a panel does to it.
struct LiveTranslationPanelPlacement {
    enum class Kind {
        keep, // it was placed before (its origin is not (0, 0)): leave it where it is
        move, // move its frame's top-left corner to origin
        centre, // there is no screen to place it on: centre it
    };

    Kind kind = Kind::keep;
    QPoint origin;

    bool operator==(const LiveTranslationPanelPlacement &) const = default;
};

// Distance of the placed panel from the right edge of the screen's visible area.
inline constexpr int kPanelRightMargin = 18;

// The screen a panel is placed on: the first one under the pointer, else the primary one, else
// the first one; none when there are no screens.
std::optional<std::size_t> placementScreen(const LiveTranslationScreenLayout &layout);

// Where a panel with this frame goes when it is placed. A frame at origin (0, 0) counts as never
// placed; any other origin is kept, including one the user dragged it to.
LiveTranslationPanelPlacement placePanelFrame(
    const QRect &panelFrame, const LiveTranslationScreenLayout &layout);

// Where a hidden panel goes when it is shown: placed if it never was, and placed anew if no
// screen shows it any more (the screens changed while it was hidden); otherwise it stays.
LiveTranslationPanelPlacement placementForShowing(
    const QRect &panelFrame, const LiveTranslationScreenLayout &layout);

// Whether the frame overlaps at least one screen (sharing an edge is not overlapping).
bool panelFrameOnScreen(const QRect &panelFrame, const LiveTranslationScreenLayout &layout);

// What a change of the screens does to a panel: nothing to a hidden panel or to one still at
// least partly on a screen; a stranded visible panel is placed anew as if it had never been.
std::optional<LiveTranslationPanelPlacement> replacementAfterScreenChange(
    const QRect &panelFrame, bool panelVisible, const LiveTranslationScreenLayout &layout);

// A panel placed before the window manager had framed it: placement took its frame to be the
// bare window, without the title bar and borders the window manager adds around it.
struct LiveTranslationUnframedPlacement {
    QPoint origin; // where the frame's top-left corner was put
    LiveTranslationScreenLayout layout; // the screens and the pointer it was placed by
};

// Where such a panel goes once its real frame is known: placed again by the same screens with
// that frame, so that the title bar and borders count too. None when it stays: it already sits
// there, or it is no longer where it was put (the user or the window manager moved it).
std::optional<QPoint> placementOnceFramed(
    const LiveTranslationUnframedPlacement &placed, const QRect &framedFrame);

// The screens of the running application and the pointer's position.
LiveTranslationScreenLayout currentScreenLayout();
