// Runs under dbus-run-session; the fake desktop services play the screen savers and (on the same
// bus, passed as the system bus) logind. Each source's signals arrive in the order sent.
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
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

const QString kFreedesktopPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kShortPath = QStringLiteral("/ScreenSaver");
const QString kGnomePath = QStringLiteral("/org/gnome/ScreenSaver");
const LiveTranslationBusAddresses kFakeLogind {QString(), FakeDesktop::busAddress()};

} // namespace

TEST(SessionLock, EverySourceLocksAndUnlocksThePanelAndOneLockToldBySeveralIsOne)
{
    FakeDesktop desktop;
    ASSERT_TRUE(desktop.ready());
    struct Pipes { // host to helper, helper to host
        int fd[4] = {-1, -1, -1, -1};
        ~Pipes() { std::for_each(fd, fd + 4, ::close); }
    } pipes;
    ASSERT_EQ(::pipe2(pipes.fd, O_CLOEXEC) | ::pipe2(pipes.fd + 2, O_CLOEXEC | O_NONBLOCK), 0);
    LiveTranslationHelperAppDelegate delegate({pipes.fd[0], pipes.fd[3], kFakeLogind});
    delegate.applicationDidFinishLaunching();
    const auto *monitor = delegate.findChild<LiveTranslationSessionLockMonitor *>();
    ASSERT_NE(monitor, nullptr);
    // Made before the monitor returns to the event loop, so that no signal is missed.
    QSignalSpy locked(monitor, &LiveTranslationSessionLockMonitor::sessionLocked);
    QSignalSpy unlocked(monitor, &LiveTranslationSessionLockMonitor::sessionUnlocked);
    QSignalSpy watched(monitor, &LiveTranslationSessionLockMonitor::loginSessionWatched);
    const LiveTranslationOverlayPanel &panel = *delegate.panel();
    delegate.handleHostMessage(
        LiveTranslationHelperHostMessage::make(LiveTranslationHelperHostMessage::Kind::show));
    const QPoint placed = panel.panelFrame().topLeft();
    ASSERT_TRUE(watched.count() == 1 || watched.wait(5000));
    EXPECT_EQ(
        watched.at(0).at(0).toString(), QStringLiteral("/org/freedesktop/login1/session/_3fake"));
    // A screen saver's path, or none for logind; then the counts of locks and unlocks. A step that
    // changes nothing is proven by the next, which comes through the same connection.
    const struct {
        QString path;
        bool locked;
        int locks;
        int unlocks;
    } steps[] = {{{}, true, 1, 0}, {kGnomePath, true, 1, 0}, {kFreedesktopPath, true, 1, 0},
        {kShortPath, false, 1, 1}, {{}, false, 1, 1}, {{}, true, 2, 1}, {kGnomePath, false, 2, 2},
        {kGnomePath, true, 3, 2}, {kFreedesktopPath, false, 3, 3}, {kFreedesktopPath, true, 4, 3},
        {{}, false, 4, 4}, {kShortPath, true, 5, 4}, {kShortPath, false, 5, 5}};
    for (const auto &step : steps) {
        SCOPED_TRACE("step " + std::to_string(&step - steps));
        if (step.path.isEmpty())
            desktop.setLockedHint(step.locked);
        else
            desktop.setScreenSaverActive(step.path, step.locked);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return locked.count() == step.locks && unlocked.count() == step.unlocks
                    && panel.isVisible() == (step.locks == step.unlocks);
            },
            5000));
    }
    EXPECT_EQ(panel.panelFrame().topLeft(), placed); // brought back in place
}

TEST(SessionLock, IgnoresTheSameSignalFromAnyOtherClientOfTheBusAndMissingServices)
{
    FakeDesktop desktop({QStringLiteral("--only"), QStringLiteral("org.freedesktop.ScreenSaver")});
    ASSERT_TRUE(desktop.ready());
    LiveTranslationSessionLockMonitor monitor(kFakeLogind); // no logind there
    QSignalSpy locked(&monitor, &LiveTranslationSessionLockMonitor::sessionLocked);
    QSignalSpy unlocked(&monitor, &LiveTranslationSessionLockMonitor::sessionUnlocked);

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
    EXPECT_TRUE(QTest::qWaitFor([&] { return locked.count() == 1; }, 5000));
    EXPECT_EQ(unlocked.count(), 0);
    QDBusConnection::disconnectFromBus(QStringLiteral("impostor"));
}
