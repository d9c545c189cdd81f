// Runs under dbus-run-session; the fake desktop services play the XDG desktop portal, whose
// changes arrive in the order they are made.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

#include "color_scheme.hpp"
#include "fake_desktop.hpp"

namespace {

using Scheme = LiveTranslationColorScheme;
using Appearance = LiveTranslationAppearance;

constexpr int kWaitMs = 5000;

const QString kAppearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");
const QString kInterfaceGroup = QStringLiteral("org.gnome.desktop.interface");
const QString kAnimations = QStringLiteral("enable-animations");

// A portal whose color-scheme is the given value (1 prefers dark, 2 prefers light).
QStringList portalWithScheme(const char *value)
{
    return {QStringLiteral("--only"), QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("--setting"), kAppearanceGroup, kColorScheme, QStringLiteral("u"),
        QLatin1String(value)};
}

bool waitForScheme(const LiveTranslationColorSchemeController &controller, Scheme wanted)
{
    return QTest::qWaitFor([&] { return controller.effectiveScheme() == wanted; }, kWaitMs);
}

bool waitForReduceMotion(const LiveTranslationColorSchemeController &controller, bool wanted)
{
    return QTest::qWaitFor([&] { return controller.reduceMotion() == wanted; }, kWaitMs);
}

// The application palette the desktop would have given.
void setDesktopPalette(bool dark)
{
    QPalette palette;
    palette.setColor(QPalette::Window, dark ? QColor(30, 30, 30) : QColor(240, 240, 240));
    palette.setColor(QPalette::WindowText, dark ? QColor(230, 230, 230) : QColor(20, 20, 20));
    QApplication::setPalette(palette);
}

} // namespace

TEST(ColorScheme, FollowsThePortalAndItsLiveChanges)
{
    setDesktopPalette(false);
    FakeDesktop portal(portalWithScheme("1"));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    QSignalSpy changes(&controller, &LiveTranslationColorSchemeController::schemeChanged);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    portal.setSetting(kAppearanceGroup, kColorScheme, 2U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(0).value<Scheme>(), Scheme::light);

    // No preference, or a value of the wrong type: the desktop's palette (light here) decides.
    portal.setSetting(kAppearanceGroup, kColorScheme, 1U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    portal.setSetting(kAppearanceGroup, kColorScheme, 0U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    portal.setSetting(kAppearanceGroup, kColorScheme, 1U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    portal.setSetting(kAppearanceGroup, kColorScheme, QStringLiteral("dark"));
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
}

TEST(ColorScheme, ForcedAppearanceWinsOverTheSystemUntilReleased)
{
    FakeDesktop portal(portalWithScheme("1"));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    QSignalSpy changes(&controller, &LiveTranslationColorSchemeController::schemeChanged);

    controller.setAppearance(Appearance::light);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light); // at once, not after a round trip
    controller.setAppearance(Appearance::light);
    EXPECT_EQ(changes.count(), 1); // unchanged: no signal

    controller.setAppearance(Appearance::dark);
    portal.setSetting(kAppearanceGroup, kColorScheme, 2U);
    portal.setSetting(kInterfaceGroup, kAnimations, false); // heard after the one above
    ASSERT_TRUE(waitForReduceMotion(controller, true));
    EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
    controller.setAppearance(Appearance::system);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light);
}

TEST(ColorScheme, ReduceMotionFollowsEnableAnimationsAndOtherKeysChangeNothing)
{
    FakeDesktop portal(portalWithScheme("1")
        << QStringLiteral("--setting") << kInterfaceGroup << kAnimations << QStringLiteral("b")
        << QStringLiteral("false"));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    EXPECT_FALSE(controller.reduceMotion()); // animations on until the portal says otherwise
    QSignalSpy motion(&controller, &LiveTranslationColorSchemeController::reduceMotionChanged);
    ASSERT_TRUE(waitForReduceMotion(controller, true));
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    portal.setSetting(kInterfaceGroup, kAnimations, true);
    ASSERT_TRUE(waitForReduceMotion(controller, false));
    ASSERT_EQ(motion.count(), 2);
    EXPECT_FALSE(motion.at(1).at(0).toBool());

    // Keys sharing only the group or the name of enable-animations, then a scheme change.
    portal.setSetting(kInterfaceGroup, QStringLiteral("cursor-blink"), false);
    portal.setSetting(kAppearanceGroup, kAnimations, false);
    portal.setSetting(kAppearanceGroup, kColorScheme, 2U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    EXPECT_EQ(motion.count(), 2);
    // Keys sharing only the group or the name of color-scheme, then a motion change.
    portal.setSetting(kAppearanceGroup, QStringLiteral("contrast"), 1U);
    portal.setSetting(kInterfaceGroup, kColorScheme, 1U);
    portal.setSetting(kInterfaceGroup, kAnimations, false);
    ASSERT_TRUE(waitForReduceMotion(controller, true));
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light);
}

TEST(ColorScheme, ReadsOlderPortalsThatOnlyKnowRead)
{
    FakeDesktop portal(portalWithScheme("1") << QStringLiteral("--no-read-one"));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    EXPECT_TRUE(waitForScheme(controller, Scheme::dark));
}

TEST(ColorScheme, WithoutAPortalThePaletteDecidesAndAPortalThatStartsLaterIsRead)
{
    setDesktopPalette(true);
    LiveTranslationColorSchemeController controller;
    EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
    {
        FakeDesktop portal(portalWithScheme("2"));
        ASSERT_TRUE(portal.ready());
        ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    }
    // A restarted portal tells of no change: it is read again, and has no preference.
    FakeDesktop restarted(portalWithScheme("0"));
    ASSERT_TRUE(restarted.ready());
    EXPECT_TRUE(waitForScheme(controller, Scheme::dark));
}

TEST(ColorScheme, WithoutABusTheLightPaletteDecidesUntilForced)
{
    setDesktopPalette(false);
    LiveTranslationColorSchemeController controller(QStringLiteral("unix:path=/nonexistent/bus"));
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light);
    controller.setAppearance(Appearance::dark);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
}
