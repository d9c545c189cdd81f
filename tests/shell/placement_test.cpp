#include <gtest/gtest.h>

#include "placement.hpp"

namespace {

using Kind = LiveTranslationPanelPlacement::Kind;

constexpr QSize kPanel {520, 760};

// A laptop with a top bar, and an external screen to its right with a dock at the bottom.
const LiveTranslationScreenArea kLaptop {QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)};
const LiveTranslationScreenArea kExternal {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 984)};

LiveTranslationScreenLayout twoScreens(QPoint pointer, std::optional<std::size_t> primary = 0)
{
    return {{kLaptop, kExternal}, primary, pointer};
}

QRect unplaced(QSize size = kPanel)
{
    return {QPoint(0, 0), size};
}

} // namespace

TEST(PanelPlacement, GoesEighteenFromTheRightEdgeOfTheScreenUnderThePointerCentredVertically)
{
    const auto onLaptop = placePanelFrame(unplaced(), twoScreens({100, 100}));
    EXPECT_EQ(onLaptop, (LiveTranslationPanelPlacement {Kind::move, {1920 - 520 - 18, 32 + 144}}));

    const auto onExternal = placePanelFrame(unplaced(), twoScreens({2000, 500}));
    EXPECT_EQ(onExternal, (LiveTranslationPanelPlacement {Kind::move, {3200 - 520 - 18, 112}}));
    // Its right edge is 18 from the visible area's right edge; it is centred in that area.
    const QRect placed(onExternal.origin, kPanel);
    EXPECT_EQ(kExternal.visibleFrame.x() + kExternal.visibleFrame.width() - 18,
        placed.x() + placed.width());
    EXPECT_EQ(placed.center().y(), kExternal.visibleFrame.center().y());
}

TEST(PanelPlacement, PointerTestIsHalfOpenLikeTheScreenEdges)
{
    // x = 1920 is the first column of the external screen, not the last of the laptop.
    EXPECT_EQ(placementScreen(twoScreens({1920, 10})), 1U);
    EXPECT_EQ(placementScreen(twoScreens({1919, 10})), 0U);
    // The first screen that contains the pointer wins when screens overlap (mirroring).
    const LiveTranslationScreenLayout mirrored {{kExternal, kLaptop, kLaptop}, 2, {10, 10}};
    EXPECT_EQ(placementScreen(mirrored), 1U);
}

TEST(PanelPlacement, PointerOnNoScreenFallsBackToPrimaryThenFirstThenCentre)
{
    EXPECT_EQ(placementScreen(twoScreens({-500, -500}, 1)), 1U);
    EXPECT_EQ(placementScreen(twoScreens({5000, 5000}, std::nullopt)), 0U);
    // A primary index that names no screen is no primary.
    EXPECT_EQ(placementScreen(twoScreens({5000, 5000}, 7)), 0U);

    const auto onPrimary = placePanelFrame(unplaced(), twoScreens({-1, 2000}, 1));
    EXPECT_EQ(onPrimary.kind, Kind::move);
    EXPECT_EQ(onPrimary.origin.x(), 3200 - 538);

    const LiveTranslationScreenLayout none {{}, std::nullopt, {10, 10}};
    EXPECT_EQ(placementScreen(none), std::nullopt);
    EXPECT_EQ(placePanelFrame(unplaced(), none).kind, Kind::centre);
}

TEST(PanelPlacement, OnlyOriginZeroCountsAsUnplaced)
{
    const auto layout = twoScreens({2000, 500});
    const QRect dragged(QPoint(300, 200), kPanel);
    EXPECT_EQ(
        placePanelFrame(dragged, layout), (LiveTranslationPanelPlacement {Kind::keep, {300, 200}}));
    // Dragged exactly to (0, 0): placed anew, like the first time.
    EXPECT_EQ(placePanelFrame(QRect(QPoint(0, 0), kPanel), layout).kind, Kind::move);
    // One coordinate at zero is a real position.
    EXPECT_EQ(placePanelFrame(QRect(QPoint(0, 5), kPanel), layout).kind, Kind::keep);
    EXPECT_EQ(placePanelFrame(QRect(QPoint(7, 0), kPanel), layout).kind, Kind::keep);
    // So is a negative one, on a screen left of the primary.
    EXPECT_EQ(placePanelFrame(QRect(QPoint(-800, 100), kPanel), layout).kind, Kind::keep);
}

TEST(PanelPlacement, PanelTallerThanTheScreenOverhangsEvenlyAndOddHalvesRoundDown)
{
    const LiveTranslationScreenLayout small {
        {{QRect(0, 0, 800, 600), QRect(0, 0, 800, 601)}}, 0, {1, 1}};
    const auto placed = placePanelFrame(unplaced({520, 760}), small);
    // midY 300.5 - 380 = -79.5
    EXPECT_EQ(placed.origin, QPoint(800 - 538, -80));
}

TEST(ScreenChange, StrandedVisiblePanelIsPlacedAnewOnARemainingScreen)
{
    // The panel stood on the external screen, which was disconnected; the pointer was there too.
    const QRect frame(QPoint(2662, 112), kPanel);
    const LiveTranslationScreenLayout after {{kLaptop}, 0, {2000, 500}};
    EXPECT_FALSE(panelFrameOnScreen(frame, after));
    const auto placement = replacementAfterScreenChange(frame, true, after);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(*placement, (LiveTranslationPanelPlacement {Kind::move, {1382, 176}}));
}

TEST(ScreenChange, HiddenOrStillPartlyVisiblePanelIsLeftAlone)
{
    const QRect stranded(QPoint(2662, 112), kPanel);
    const LiveTranslationScreenLayout after {{kLaptop}, 0, {10, 10}};
    EXPECT_EQ(replacementAfterScreenChange(stranded, false, after), std::nullopt);

    // One column of the panel still on the laptop is enough.
    const QRect overhanging(QPoint(1919, 100), kPanel);
    EXPECT_EQ(replacementAfterScreenChange(overhanging, true, after), std::nullopt);
    // Touching the screen's edge is not being on it.
    const QRect touching(QPoint(1920, 100), kPanel);
    EXPECT_TRUE(replacementAfterScreenChange(touching, true, after).has_value());
    // Above the screens is as stranded as beside them.
    const QRect above(QPoint(100, -760), kPanel);
    EXPECT_TRUE(replacementAfterScreenChange(above, true, after).has_value());
}

TEST(ScreenChange, AHiddenPanelStrandedMeanwhileIsPlacedAnewWhenShown)
{
    const LiveTranslationScreenLayout after {{kLaptop}, 0, {10, 10}};
    // Its screen went away while it was hidden: showing it where it was would show nothing.
    EXPECT_EQ(placementForShowing(QRect(QPoint(2662, 112), kPanel), after),
        (LiveTranslationPanelPlacement {Kind::move, {1382, 176}}));
    // Still (partly) on a screen: it keeps the place it had.
    EXPECT_EQ(placementForShowing(QRect(QPoint(1800, 112), kPanel), after).kind, Kind::keep);
    EXPECT_EQ(placementForShowing(unplaced(), after).kind, Kind::move);
}

TEST(ScreenChange, NoScreensLeftMeansCentring)
{
    const QRect frame(QPoint(400, 100), kPanel);
    const LiveTranslationScreenLayout none {{}, std::nullopt, {10, 10}};
    const auto placement = replacementAfterScreenChange(frame, true, none);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->kind, Kind::centre);
}

TEST(PanelPlacement, PlacedBeforeTheWindowManagerFramedItIsPlacedAgainWithItsFrame)
{
    // Placed on the laptop as a bare 520 × 760 window, then framed: 1 px borders, a 22 px title
    // bar and a 5 px bottom edge, its top-left corner kept where it was put.
    const auto layout = twoScreens({100, 100});
    const auto placed = placePanelFrame(unplaced(), layout);
    const LiveTranslationUnframedPlacement unframed {placed.origin, layout};
    const QRect framed(placed.origin, QSize(522, 787));

    const auto again = placementOnceFramed(unframed, framed);
    ASSERT_TRUE(again.has_value());
    const QRect corrected(*again, framed.size());
    EXPECT_EQ(corrected.x() + corrected.width(), 1920 - 18);
    EXPECT_EQ(*again, QPoint(1920 - 522 - 18, 32 + (1048 - 787) / 2));
    // The screens it was placed by count, not where the pointer is by now.
    EXPECT_EQ(placementOnceFramed(unframed, framed), again);

    // Moved away before the frame arrived (a drag, or a window manager that places by itself).
    EXPECT_EQ(placementOnceFramed(unframed, framed.translated(40, 0)), std::nullopt);
    // A frame that changes nothing needs no move.
    EXPECT_EQ(placementOnceFramed(unframed, QRect(placed.origin, kPanel)), std::nullopt);
}
