// Runs under dbus-run-session: the session bus is private, and the fake desktop services stand in
// for the screen savers and (on the same bus, passed as the system bus) for logind. The screen
// savers' signals reach the monitor on the connection the test drives them through, so they
// arrive in the order sent; logind's come on a connection of their own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

#include "app_delegate.hpp"
#include "fake_desktop.hpp"
#include "overlay_panel.hpp"
#include "session_lock.hpp"

namespace {

constexpr int kWaitMs = 5000;

const QString kFreedesktopPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kShortPath = QStringLiteral("/ScreenSaver");
const QString kGnomePath = QStringLiteral("/org/gnome/ScreenSaver");

LiveTranslationBusAddresses fakeLogindBuses()
{
    return {QString(), FakeDesktop::busAddress()};
}

// Made before the monitor returns to the event loop, so that no signal is missed.
struct Spies {
    explicit Spies(LiveTranslationSessionLockMonitor &monitor)
        : locked(&monitor, &LiveTranslationSessionLockMonitor::sessionLocked)
        , unlocked(&monitor, &LiveTranslationSessionLockMonitor::sessionUnlocked)
        , watched(&monitor, &LiveTranslationSessionLockMonitor::loginSessionWatched)
    {
    }
    bool waitForLogind() { return watched.count() == 1 || watched.wait(kWaitMs); }
    bool waitFor(const QSignalSpy &spy, int count)
    {
        return QTest::qWaitFor([&] { return spy.count() == count; }, kWaitMs);
    }
    QSignalSpy locked;
    QSignalSpy unlocked;
    QSignalSpy watched; // the logind session, once found
};

// A service that tells of the lock on its own: a screen saver on a path, or logind (no path).
struct LockSource {
    const char *service;
    const char *path;
};

class LockSourceAlone : public ::testing::TestWithParam<LockSource> { };

} // namespace

TEST_P(LockSourceAlone, LocksAndUnlocks)
{
    FakeDesktop desktop({QStringLiteral("--only"), QLatin1String(GetParam().service)});
    ASSERT_TRUE(desktop.ready());
    LiveTranslationSessionLockMonitor monitor(fakeLogindBuses());
    Spies spies(monitor);
    const bool logind = GetParam().path == nullptr;
    const auto setLocked = [&](bool locked) {
        if (logind)
            desktop.setLockedHint(locked);
        else
            desktop.setScreenSaverActive(QLatin1String(GetParam().path), locked);
    };
    if (logind) {
        ASSERT_TRUE(spies.waitForLogind());
        EXPECT_EQ(spies.watched.at(0).at(0).toString(),
            QStringLiteral("/org/freedesktop/login1/session/_3fake"));
    }
    setLocked(true);
    ASSERT_TRUE(spies.waitFor(spies.locked, 1));
    EXPECT_EQ(spies.unlocked.count(), 0);
    setLocked(false);
    ASSERT_TRUE(spies.waitFor(spies.unlocked, 1));
    EXPECT_EQ(spies.locked.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(SessionLock, LockSourceAlone,
    ::testing::Values(LockSource {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"},
        LockSource {"org.freedesktop.ScreenSaver", "/ScreenSaver"},
        LockSource {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver"},
        LockSource {"org.freedesktop.login1", nullptr}));

TEST(SessionLock, OneLockReportedBySeveralSourcesIsOneLockAndOneUnlock)
{
    FakeDesktop desktop;
    ASSERT_TRUE(desktop.ready());
    LiveTranslationSessionLockMonitor monitor(fakeLogindBuses());
    Spies spies(monitor);
    ASSERT_TRUE(spies.waitForLogind());

    desktop.setLockedHint(true);
    ASSERT_TRUE(spies.waitFor(spies.locked, 1));
    desktop.setScreenSaverActive(kGnomePath, true);
    desktop.setScreenSaverActive(kFreedesktopPath, true);
    // Heard after the two above: the unlock proves they were taken for the same lock.
    desktop.setScreenSaverActive(kShortPath, false);
    ASSERT_TRUE(spies.waitFor(spies.unlocked, 1));
    EXPECT_EQ(spies.locked.count(), 1);

    desktop.setLockedHint(false); // the same unlock, told by logind
    desktop.setLockedHint(true);
    ASSERT_TRUE(spies.waitFor(spies.locked, 2));
    EXPECT_EQ(spies.unlocked.count(), 1);
}

TEST(SessionLock, IgnoresTheSameSignalFromAnyOtherClientOfTheBus)
{
    FakeDesktop desktop;
    ASSERT_TRUE(desktop.ready());
    LiveTranslationSessionLockMonitor monitor;
    Spies spies(monitor);

    auto impostor
        = QDBusConnection::connectToBus(FakeDesktop::busAddress(), QStringLiteral("impostor"));
    ASSERT_TRUE(impostor.isConnected());
    QDBusMessage signal = QDBusMessage::createSignal(kFreedesktopPath,
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("ActiveChanged"));
    signal << true;
    ASSERT_TRUE(impostor.send(signal));
    // Once the bus answers the impostor, it has passed its signal on, before the real ones.
    ASSERT_TRUE(impostor.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus")));
    desktop.setScreenSaverActive(kFreedesktopPath, false); // an unlock only after a lock
    desktop.setScreenSaverActive(kFreedesktopPath, true);
    EXPECT_TRUE(spies.waitFor(spies.locked, 1));
    EXPECT_EQ(spies.unlocked.count(), 0);
    QDBusConnection::disconnectFromBus(QStringLiteral("impostor"));
}

TEST(SessionLock, TheDelegateHidesThePanelAtTheLockAndBringsItBackInPlaceAtTheUnlock)
{
    FakeDesktop desktop;
    ASSERT_TRUE(desktop.ready());
    int input[2] = {-1, -1};
    int output[2] = {-1, -1};
    ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(output, O_CLOEXEC | O_NONBLOCK), 0);
    {
        LiveTranslationHelperAppDelegate::Options options;
        options.inputFd = input[0];
        options.outputFd = output[1];
        options.buses = fakeLogindBuses();
        LiveTranslationHelperAppDelegate delegate(options);
        delegate.applicationDidFinishLaunching();
        LiveTranslationOverlayPanel *panel = delegate.panel();
        delegate.handleHostMessage(
            LiveTranslationHelperHostMessage::make(LiveTranslationHelperHostMessage::Kind::show));
        const QPoint placed = panel->panelFrame().topLeft();
        const auto waitVisible = [&](bool wanted) {
            return QTest::qWaitFor([&] { return panel->isVisible() == wanted; }, kWaitMs);
        };
        desktop.setScreenSaverActive(kShortPath, true);
        EXPECT_TRUE(waitVisible(false));
        desktop.setScreenSaverActive(kShortPath, false);
        EXPECT_TRUE(waitVisible(true));
        EXPECT_EQ(panel->panelFrame().topLeft(), placed);
    }
    for (int fd : {input[0], input[1], output[0], output[1]})
        ::close(fd);
}
