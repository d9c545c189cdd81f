// Runs under dbus-run-session; the fake desktop services play the XDG desktop portal, whose
// changes arrive in the order they are made.
#include <gtest/gtest.h>
#include <optional>

#include <QApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

#include "color_scheme.hpp"
#include "fake_desktop.hpp"

namespace {

using Scheme = LiveTranslationColorScheme;
using Appearance = LiveTranslationAppearance;

const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kScheme = QStringLiteral("color-scheme");
const QString kInterface = QStringLiteral("org.gnome.desktop.interface");
const QString kAnimations = QStringLiteral("enable-animations");

// A portal whose color-scheme is the given value (1 prefers dark, 2 prefers light).
QStringList portalWithScheme(const char *value)
{
    return {QStringLiteral("--only"), QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("--setting"), kAppearance, kScheme, QStringLiteral("u"),
        QLatin1String(value)};
}

bool waitFor(const LiveTranslationColorSchemeController &controller, Scheme scheme,
    std::optional<bool> reduceMotion = std::nullopt)
{
    return QTest::qWaitFor(
        [&] {
            return controller.effectiveScheme() == scheme
                && (!reduceMotion || controller.reduceMotion() == *reduceMotion);
        },
        5000);
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
        << QStringLiteral("--setting") << kInterface << kAnimations << QStringLiteral("b")
        << QStringLiteral("false"));
    ASSERT_TRUE(portal.ready());
    LiveTranslationColorSchemeController controller;
    EXPECT_FALSE(controller.reduceMotion()); // animations on until the portal says otherwise
    QSignalSpy changes(&controller, &LiveTranslationColorSchemeController::schemeChanged);
    QSignalSpy motion(&controller, &LiveTranslationColorSchemeController::reduceMotionChanged);
    ASSERT_TRUE(waitFor(controller, Scheme::dark, true));
    portal.setSetting(kAppearance, kScheme, 2U);
    portal.setSetting(kInterface, kAnimations, true);
    ASSERT_TRUE(waitFor(controller, Scheme::light, false));
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(0).value<Scheme>(), Scheme::light);
    ASSERT_EQ(motion.count(), 2);
    EXPECT_FALSE(motion.at(1).at(0).toBool());

    // No preference, or a value of the wrong type: the desktop's palette (light here) decides.
    for (const QVariant &none : {QVariant(0U), QVariant(QStringLiteral("dark"))}) {
        portal.setSetting(kAppearance, kScheme, 1U);
        ASSERT_TRUE(waitFor(controller, Scheme::dark));
        portal.setSetting(kAppearance, kScheme, none);
        ASSERT_TRUE(waitFor(controller, Scheme::light));
    }

    // Other keys of the two groups change nothing: each is followed by a change of the other kind.
    portal.setSetting(kInterface, QStringLiteral("cursor-blink"), false);
    portal.setSetting(kAppearance, kScheme, 1U);
    ASSERT_TRUE(waitFor(controller, Scheme::dark, false));
    portal.setSetting(kAppearance, QStringLiteral("contrast"), 2U);
    portal.setSetting(kInterface, kAnimations, false);
    ASSERT_TRUE(waitFor(controller, Scheme::dark, true));

    const auto changed = changes.count();
    controller.setAppearance(Appearance::light);
    EXPECT_EQ(controller.effectiveScheme(), Scheme::light); // at once, not after a round trip
    controller.setAppearance(Appearance::light);
    EXPECT_EQ(changes.count(), changed + 1); // unchanged: no signal
    controller.setAppearance(Appearance::dark);
    portal.setSetting(kAppearance, kScheme, 2U);
    portal.setSetting(kInterface, kAnimations, true); // heard after the one above
    ASSERT_TRUE(waitFor(controller, Scheme::dark, false));
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
        ASSERT_TRUE(waitFor(controller, Scheme::light));
    }
    // Restarted, it tells of no change but is read again: it has no preference now.
    FakeDesktop restarted(portalWithScheme("0"));
    ASSERT_TRUE(restarted.ready());
    EXPECT_TRUE(waitFor(controller, Scheme::dark));
}
