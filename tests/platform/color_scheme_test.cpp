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

TEST(ColorScheme, FollowsThePortalLiveUnlessAnAppearanceIsForced)
{
    setDesktopPalette(false);
    FakeDesktop portal(portalWithScheme("1")
        << QStringLiteral("--setting") << kInterfaceGroup << kAnimations << QStringLiteral("b")
        << QStringLiteral("false"));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    EXPECT_FALSE(controller.reduceMotion()); // animations on until the portal says otherwise
    QSignalSpy changes(&controller, &LiveTranslationColorSchemeController::schemeChanged);
    QSignalSpy motion(&controller, &LiveTranslationColorSchemeController::reduceMotionChanged);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    ASSERT_TRUE(waitForReduceMotion(controller, true));
    portal.setSetting(kAppearanceGroup, kColorScheme, 2U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(0).value<Scheme>(), Scheme::light);
    portal.setSetting(kInterfaceGroup, kAnimations, true);
    ASSERT_TRUE(waitForReduceMotion(controller, false));
    ASSERT_EQ(motion.count(), 2);
    EXPECT_FALSE(motion.at(1).at(0).toBool());

    // No preference, or a value of the wrong type: the desktop's palette (light here) decides.
    portal.setSetting(kAppearanceGroup, kColorScheme, 1U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    portal.setSetting(kAppearanceGroup, kColorScheme, 0U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    portal.setSetting(kAppearanceGroup, kColorScheme, 1U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    portal.setSetting(kAppearanceGroup, kColorScheme, QStringLiteral("dark"));
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));

    // Other keys of the two groups change nothing: each is followed by a change of the other kind.
    portal.setSetting(kInterfaceGroup, QStringLiteral("cursor-blink"), false);
    portal.setSetting(kAppearanceGroup, kColorScheme, 1U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    EXPECT_FALSE(controller.reduceMotion());
    portal.setSetting(kAppearanceGroup, QStringLiteral("contrast"), 2U);
    portal.setSetting(kInterfaceGroup, kAnimations, false);
    ASSERT_TRUE(waitForReduceMotion(controller, true));
    EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);

    const auto changed = changes.count();
    controller.setAppearance(Appearance::light);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light); // at once, not after a round trip
    controller.setAppearance(Appearance::light);
    EXPECT_EQ(changes.count(), changed + 1); // unchanged: no signal
    controller.setAppearance(Appearance::dark);
    portal.setSetting(kAppearanceGroup, kColorScheme, 2U);
    portal.setSetting(kInterfaceGroup, kAnimations, true); // heard after the one above
    ASSERT_TRUE(waitForReduceMotion(controller, false));
    EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
    controller.setAppearance(Appearance::system);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light);
}

TEST(ColorScheme, WithoutAPortalThePaletteDecidesAndAPortalThatStartsLaterIsRead)
{
    setDesktopPalette(true);
    LiveTranslationColorSchemeController controller;
    EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
    {
        // An older portal, which only knows Read.
        FakeDesktop portal(portalWithScheme("2") << QStringLiteral("--no-read-one"));
        ASSERT_TRUE(portal.ready());
        ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    }
    // Restarted, it tells of no change but is read again: it has no preference now.
    FakeDesktop restarted(portalWithScheme("0"));
    ASSERT_TRUE(restarted.ready());
    EXPECT_TRUE(waitForScheme(controller, Scheme::dark));
}
