#include "placement.hpp"

#include <cmath>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

std::optional<std::size_t> placementScreen(const LiveTranslationScreenLayout &layout)
{
    for (std::size_t i = 0; i < layout.screens.size(); ++i) {
        // QRect::contains is half-open on the right and bottom, like a pointer test should be.
        if (layout.screens[i].frame.contains(layout.pointer))
            return i;
    }
    if (layout.primary && *layout.primary < layout.screens.size())
        return layout.primary;
    if (!layout.screens.empty())
        return 0;
    return std::nullopt;
}

LiveTranslationPanelPlacement placePanelFrame(
    const QRect &panelFrame, const LiveTranslationScreenLayout &layout)
{
    using Kind = LiveTranslationPanelPlacement::Kind;
    if (panelFrame.topLeft() != QPoint(0, 0))
        return {Kind::keep, panelFrame.topLeft()};
    const auto screen = placementScreen(layout);
    if (!screen)
        return {Kind::centre, {}};
    const QRect visible = layout.screens[*screen].visibleFrame;
    const int x = visible.x() + visible.width() - panelFrame.width() - kPanelRightMargin;
    const double midY = visible.y() + visible.height() * 0.5;
    const int y = static_cast<int>(std::floor(midY - panelFrame.height() * 0.5));
    return {Kind::move, QPoint(x, y)};
}

LiveTranslationPanelPlacement placementForShowing(
    const QRect &panelFrame, const LiveTranslationScreenLayout &layout)
{
    if (!panelFrameOnScreen(panelFrame, layout))
        return placePanelFrame(QRect(QPoint(0, 0), panelFrame.size()), layout);
    return placePanelFrame(panelFrame, layout);
}

bool panelFrameOnScreen(const QRect &panelFrame, const LiveTranslationScreenLayout &layout)
{
    for (const auto &screen : layout.screens) {
        if (screen.frame.intersects(panelFrame))
            return true;
    }
    return false;
}

std::optional<LiveTranslationPanelPlacement> replacementAfterScreenChange(
    const QRect &panelFrame, bool panelVisible, const LiveTranslationScreenLayout &layout)
{
    if (!panelVisible || panelFrameOnScreen(panelFrame, layout))
        return std::nullopt;
    return placePanelFrame(QRect(QPoint(0, 0), panelFrame.size()), layout);
}

std::optional<QPoint> placementOnceFramed(
    const LiveTranslationUnframedPlacement &placed, const QRect &framedFrame)
{
    if (framedFrame.topLeft() != placed.origin)
        return std::nullopt;
    const auto placement = placePanelFrame(QRect(QPoint(0, 0), framedFrame.size()), placed.layout);
    if (placement.kind != LiveTranslationPanelPlacement::Kind::move
        || placement.origin == framedFrame.topLeft())
        return std::nullopt;
    return placement.origin;
}

LiveTranslationScreenLayout currentScreenLayout()
{
    LiveTranslationScreenLayout layout;
    const QList<QScreen *> screens = QGuiApplication::screens();
    const QScreen *primary = QGuiApplication::primaryScreen();
    layout.screens.reserve(static_cast<std::size_t>(screens.size()));
    for (const QScreen *screen : screens) {
        if (screen == primary)
            layout.primary = layout.screens.size();
        layout.screens.push_back({screen->geometry(), screen->availableGeometry()});
    }
    layout.pointer = QCursor::pos();
    return layout;
}
