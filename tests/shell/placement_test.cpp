#include <gtest/gtest.h>

#include "placement.hpp"

namespace {

using Kind = LiveTranslationPanelPlacement::Kind;
using Placement = LiveTranslationPanelPlacement;

constexpr QSize kPanel {520, 760};

// A laptop with a top bar, and an external screen to its right with a dock at the bottom.
const LiveTranslationScreenArea kLaptop {QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)};
const LiveTranslationScreenArea kExternal {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 984)};
const LiveTranslationScreenLayout kLaptopOnly {{kLaptop}, 0, {10, 10}};
const LiveTranslationScreenLayout kNoScreens {{}, std::nullopt, {10, 10}};

LiveTranslationScreenLayout twoScreens(QPoint pointer, std::optional<std::size_t> primary = 0)
{
    return {{kLaptop, kExternal}, primary, pointer};
}

QRect at(int x, int y)
{
    return {QPoint(x, y), kPanel};
}

} // namespace

TEST(PanelPlacement, ScreenIsTheFirstUnderThePointerElseAValidPrimaryElseTheFirst)
{
    EXPECT_EQ(placementScreen(twoScreens({1919, 10}, 1)), 0U);
    EXPECT_EQ(placementScreen(twoScreens({1920, 10})), 1U); // half-open, like the screen edges
    const LiveTranslationScreenLayout mirrored {{kExternal, kLaptop, kLaptop}, 2, {10, 10}};
    EXPECT_EQ(placementScreen(mirrored), 1U);
    EXPECT_EQ(placementScreen(twoScreens({-500, -500}, 1)), 1U);
    EXPECT_EQ(placementScreen(twoScreens({5000, 5000}, std::nullopt)), 0U);
    EXPECT_EQ(placementScreen(twoScreens({5000, 5000}, 2)), 0U); // names no screen
    EXPECT_EQ(placementScreen(kNoScreens), std::nullopt);
}

TEST(PanelPlacement, UnplacedGoesEighteenFromTheRightCentredAnyOtherOriginIsKept)
{
    const LiveTranslationScreenLayout small {
        {{QRect(0, 0, 800, 600), QRect(0, 0, 800, 601)}}, 0, {1, 1}};
    const struct {
        QRect frame;
        LiveTranslationScreenLayout layout;
        Placement expected;
    } cases[] = {{at(0, 0), twoScreens({100, 100}), {Kind::move, {1382, 176}}},
        {at(0, 0), twoScreens({2000, 500}), {Kind::move, {2662, 112}}},
        {at(0, 0), twoScreens({-1, 2000}, 1), {Kind::move, {2662, 112}}},
        {at(0, 0), small, {Kind::move, {262, -80}}}, // overhangs evenly: 300.5 - 380, rounded down
        {at(0, 0), kNoScreens, {Kind::centre, {}}},
        {at(300, 200), twoScreens({2000, 500}), {Kind::keep, {300, 200}}},
        {at(0, 5), twoScreens({2000, 500}), {Kind::keep, {0, 5}}},
        {at(7, 0), twoScreens({2000, 500}), {Kind::keep, {7, 0}}},
        {at(-800, 100), twoScreens({2000, 500}), {Kind::keep, {-800, 100}}}};
    for (const auto &c : cases)
        EXPECT_EQ(placePanelFrame(c.frame, c.layout), c.expected) << "case " << &c - cases;
}

TEST(ScreenChange, OnlyAVisiblePanelOffEveryScreenIsPlacedAnew)
{
    EXPECT_EQ(replacementAfterScreenChange(at(2662, 112), true, kLaptopOnly),
        (Placement {Kind::move, {1382, 176}}));
    EXPECT_EQ(replacementAfterScreenChange(at(2662, 112), false, kLaptopOnly), std::nullopt);
    // One column still on the laptop is enough; touching its edge is not being on it.
    EXPECT_EQ(replacementAfterScreenChange(at(1919, 100), true, kLaptopOnly), std::nullopt);
    EXPECT_TRUE(replacementAfterScreenChange(at(1920, 100), true, kLaptopOnly).has_value());
    EXPECT_TRUE(replacementAfterScreenChange(at(100, -760), true, kLaptopOnly).has_value());
    EXPECT_EQ(replacementAfterScreenChange(at(400, 100), true, kNoScreens),
        (Placement {Kind::centre, {}}));
}

TEST(ScreenChange, AHiddenPanelStrandedMeanwhileIsPlacedAnewWhenShown)
{
    EXPECT_EQ(
        placementForShowing(at(2662, 112), kLaptopOnly), (Placement {Kind::move, {1382, 176}}));
    EXPECT_EQ(
        placementForShowing(at(1800, 112), kLaptopOnly), (Placement {Kind::keep, {1800, 112}}));
    EXPECT_EQ(placementForShowing(at(0, 0), kLaptopOnly), (Placement {Kind::move, {1382, 176}}));
}

TEST(PanelPlacement, PlacedBeforeTheWindowManagerFramedItIsPlacedAgainWithItsFrame)
{
    // Placed as a bare window at (1382, 176), then framed by 1 px borders, a 22 px title bar and
    // a 5 px bottom edge, its corner kept: the screens it was placed by count, not the pointer.
    const LiveTranslationUnframedPlacement unframed {{1382, 176}, twoScreens({100, 100})};
    const QRect framed(QPoint(1382, 176), QSize(522, 787));
    EXPECT_EQ(placementOnceFramed(unframed, framed), QPoint(1380, 162));
    // Moved away before the frame arrived, or a frame that changes nothing: no move.
    EXPECT_EQ(placementOnceFramed(unframed, framed.translated(40, 0)), std::nullopt);
    EXPECT_EQ(placementOnceFramed(unframed, at(1382, 176)), std::nullopt);
    const LiveTranslationUnframedPlacement nowhere {{1382, 176}, kNoScreens};
    EXPECT_EQ(placementOnceFramed(nowhere, framed), std::nullopt);
}
