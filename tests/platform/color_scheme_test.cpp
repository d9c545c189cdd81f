// Runs under dbus-run-session; the fake desktop services play the XDG desktop portal.
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
constexpr int kQuietMs = 300;

const QString kAppearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");
const QString kInterfaceGroup = QStringLiteral("org.gnome.desktop.interface");
const QString kAnimations = QStringLiteral("enable-animations");

QStringList portalWith(
    const QString &group, const QString &key, const QString &type, const QString &value)
{
    return {QStringLiteral("--only"), QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("--setting"), group, key, type, value};
}

bool waitForScheme(const LiveTranslationColorSchemeController &controller, Scheme wanted)
{
    return QTest::qWaitFor([&] { return controller.effectiveScheme() == wanted; }, kWaitMs);
}

// Sets the application palette the desktop would have given, for as long as it lives.
class DesktopPalette final {
public:
    explicit DesktopPalette(bool dark)
        : m_saved(QApplication::palette())
    {
        QPalette palette = m_saved;
        palette.setColor(QPalette::Window, dark ? QColor(30, 30, 30) : QColor(240, 240, 240));
        palette.setColor(QPalette::WindowText, dark ? QColor(230, 230, 230) : QColor(20, 20, 20));
        QApplication::setPalette(palette);
    }
    ~DesktopPalette() { QApplication::setPalette(m_saved); }
    DesktopPalette(const DesktopPalette &) = delete;
    DesktopPalette &operator=(const DesktopPalette &) = delete;

private:
    QPalette m_saved;
};

} // namespace

TEST(ColorScheme, FollowsThePortalAndItsLiveChanges)
{
    DesktopPalette light(false);
    FakeDesktop portal(
        portalWith(kAppearanceGroup, kColorScheme, QStringLiteral("u"), QStringLiteral("1")));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    QSignalSpy changes(&controller, &LiveTranslationColorSchemeController::schemeChanged);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    ASSERT_EQ(changes.count(), 1);

    portal.setSetting(kAppearanceGroup, kColorScheme, 2U); // prefers light
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(0).value<Scheme>(), Scheme::light);

    portal.setSetting(kAppearanceGroup, kColorScheme, 1U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    // No preference: the desktop's palette (light here) decides.
    portal.setSetting(kAppearanceGroup, kColorScheme, 0U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
    // A value of the wrong type is no preference either.
    portal.setSetting(kAppearanceGroup, kColorScheme, 1U);
    ASSERT_TRUE(waitForScheme(controller, Scheme::dark));
    portal.setSetting(kAppearanceGroup, kColorScheme, QStringLiteral("dark"));
    ASSERT_TRUE(waitForScheme(controller, Scheme::light));
}

TEST(ColorScheme, ForcedAppearanceWinsOverTheSystemUntilReleased)
{
    FakeDesktop portal(
        portalWith(kAppearanceGroup, kColorScheme, QStringLiteral("u"), QStringLiteral("1")));
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
    // The portal's changes arrive in order: once the second is heard, so was the first.
    portal.setSetting(kInterfaceGroup, kAnimations, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.reduceMotion(); }, kWaitMs));
    EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);

    controller.setAppearance(Appearance::system);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light);
}

TEST(ColorScheme, ReduceMotionFollowsEnableAnimations)
{
    FakeDesktop portal(
        portalWith(kInterfaceGroup, kAnimations, QStringLiteral("b"), QStringLiteral("false")));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    EXPECT_FALSE(controller.reduceMotion()); // animations on until the portal says otherwise
    QSignalSpy changes(&controller, &LiveTranslationColorSchemeController::reduceMotionChanged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.reduceMotion(); }, kWaitMs));

    portal.setSetting(kInterfaceGroup, kAnimations, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller.reduceMotion(); }, kWaitMs));
    ASSERT_EQ(changes.count(), 2);
    EXPECT_FALSE(changes.at(1).at(0).toBool());
    // Another key of the same group changes nothing.
    portal.setSetting(kInterfaceGroup, QStringLiteral("gtk-theme"), QStringLiteral("Adwaita"));
    QTest::qWait(kQuietMs);
    EXPECT_EQ(changes.count(), 2);
}

TEST(ColorScheme, ReadsOlderPortalsThatOnlyKnowRead)
{
    FakeDesktop portal(
        portalWith(kAppearanceGroup, kColorScheme, QStringLiteral("u"), QStringLiteral("1"))
        << QStringLiteral("--no-read-one"));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    EXPECT_TRUE(waitForScheme(controller, Scheme::dark));
}

TEST(ColorScheme, WithoutAPortalTheDesktopPaletteDecides)
{
    {
        DesktopPalette dark(true);
        LiveTranslationColorSchemeController controller;
        EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
        QTest::qWait(kQuietMs);
        EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
    }
    {
        DesktopPalette light(false);
        const QString nowhere = QStringLiteral("unix:path=/nonexistent/bus");
        LiveTranslationColorSchemeController controller(nowhere);
        EXPECT_EQ(controller.effectiveScheme(), Scheme::light);
        controller.setAppearance(Appearance::dark);
        EXPECT_EQ(controller.effectiveScheme(), Scheme::dark);
    }
}

TEST(ColorScheme, APortalThatStartsLaterIsStillRead)
{
    DesktopPalette light(false);
    LiveTranslationColorSchemeController controller;
    QTest::qWait(50);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light);
    FakeDesktop portal(
        portalWith(kAppearanceGroup, kColorScheme, QStringLiteral("u"), QStringLiteral("1")));
    ASSERT_TRUE(portal.ready());
    EXPECT_TRUE(waitForScheme(controller, Scheme::dark));
}
