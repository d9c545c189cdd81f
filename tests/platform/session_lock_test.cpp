// Runs under dbus-run-session: the session bus is private, and the fake desktop services stand in
// for the screen savers and (on the same bus, passed as the system bus) for logind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

#include "app_delegate.hpp"
#include "fake_desktop.hpp"
#include "overlay_panel.hpp"
#include "session_lock.hpp"

namespace {

constexpr int kWaitMs = 5000;
// How long to wait for something that must not happen.
constexpr int kQuietMs = 300;

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
    ASSERT_TRUE(QTest::qWaitFor([&] { return spies.locked.count() == 1; }, kWaitMs));
    EXPECT_EQ(spies.unlocked.count(), 0);
    setLocked(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spies.unlocked.count() == 1; }, kWaitMs));
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

    desktop.setScreenSaverActive(kGnomePath, true);
    desktop.setLockedHint(true);
    desktop.setScreenSaverActive(kFreedesktopPath, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spies.locked.count() >= 1; }, kWaitMs));
    QTest::qWait(kQuietMs);
    EXPECT_EQ(spies.locked.count(), 1);

    desktop.setScreenSaverActive(kGnomePath, false);
    desktop.setLockedHint(false);
    desktop.setScreenSaverActive(kFreedesktopPath, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spies.unlocked.count() >= 1; }, kWaitMs));
    QTest::qWait(kQuietMs);
    EXPECT_EQ(spies.unlocked.count(), 1);
    EXPECT_EQ(spies.locked.count(), 1);
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
    QTest::qWait(kQuietMs);
    EXPECT_EQ(spies.locked.count(), 0);

    // The real screen saver is heard on the same path.
    desktop.setScreenSaverActive(kFreedesktopPath, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return spies.locked.count() == 1; }, kWaitMs));
    QDBusConnection::disconnectFromBus(QStringLiteral("impostor"));
}

TEST(SessionLock, MissingServicesOrBusesAreNoError)
{
    {
        // A bus without any of the services.
        LiveTranslationSessionLockMonitor monitor(fakeLogindBuses());
        Spies spies(monitor);
        QTest::qWait(kQuietMs);
        EXPECT_EQ(spies.watched.count(), 0);
        EXPECT_EQ(spies.locked.count(), 0);
    }
    {
        // No buses at all.
        const QString nowhere = QStringLiteral("unix:path=/nonexistent/bus");
        LiveTranslationSessionLockMonitor monitor({nowhere, nowhere});
        Spies spies(monitor);
        QTest::qWait(10);
        EXPECT_EQ(spies.locked.count(), 0);
    }
}

namespace {

// The delegate, with the fake desktop's session lock, on the offscreen platform.
class DelegateSessionLock : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_desktop.ready());
        ASSERT_EQ(::pipe2(m_input, O_CLOEXEC), 0);
        ASSERT_EQ(::pipe2(m_output, O_CLOEXEC | O_NONBLOCK), 0);
        LiveTranslationHelperAppDelegate::Options options;
        options.inputFd = m_input[0];
        options.outputFd = m_output[1];
        options.buses = fakeLogindBuses();
        m_delegate = std::make_unique<LiveTranslationHelperAppDelegate>(options);
        m_delegate->applicationDidFinishLaunching();
        auto *monitor = m_delegate->findChild<LiveTranslationSessionLockMonitor *>();
        ASSERT_NE(monitor, nullptr);
        m_spies = std::make_unique<Spies>(*monitor);
        ASSERT_TRUE(m_spies->waitForLogind());
    }

    void TearDown() override
    {
        m_spies.reset();
        m_delegate.reset();
        for (int fd : {m_input[0], m_input[1], m_output[0], m_output[1]})
            ::close(fd);
    }

    void send(LiveTranslationHelperHostMessage::Kind kind)
    {
        m_delegate->handleHostMessage(LiveTranslationHelperHostMessage::make(kind));
    }
    bool visible() const { return m_delegate->panel()->isVisible(); }
    bool waitVisible(bool wanted)
    {
        return QTest::qWaitFor([&] { return visible() == wanted; }, kWaitMs);
    }

    FakeDesktop m_desktop;
    int m_input[2] = {-1, -1};
    int m_output[2] = {-1, -1};
    std::unique_ptr<LiveTranslationHelperAppDelegate> m_delegate;
    std::unique_ptr<Spies> m_spies;
};

} // namespace

TEST_F(DelegateSessionLock, LockWhileVisibleHidesAndUnlockRestoresOnce)
{
    send(LiveTranslationHelperHostMessage::Kind::show);
    const QPoint placed = m_delegate->panel()->panelFrame().topLeft();
    m_desktop.setScreenSaverActive(kShortPath, true);
    ASSERT_TRUE(waitVisible(false));
    m_desktop.setLockedHint(true); // the same lock, told again
    m_desktop.setScreenSaverActive(kShortPath, false);
    ASSERT_TRUE(waitVisible(true));
    EXPECT_EQ(m_delegate->panel()->panelFrame().topLeft(), placed);

    // Hidden by the host after the unlock; the rest of the unlock does not bring it back.
    send(LiveTranslationHelperHostMessage::Kind::hide);
    m_desktop.setLockedHint(false);
    QTest::qWait(kQuietMs);
    EXPECT_FALSE(visible());
}

TEST_F(DelegateSessionLock, LockWhileHiddenKeepsItHidden)
{
    m_desktop.setLockedHint(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_spies->locked.count() == 1; }, kWaitMs));
    m_desktop.setLockedHint(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_spies->unlocked.count() == 1; }, kWaitMs));
    QTest::qWait(kQuietMs);
    EXPECT_FALSE(visible());
}

TEST_F(DelegateSessionLock, ShowWhileLockedIsHiddenAgainByTheNextLockOnly)
{
    // The host may show the panel while the session is locked; the unlock then leaves it be.
    m_desktop.setScreenSaverActive(kGnomePath, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_spies->locked.count() == 1; }, kWaitMs));
    send(LiveTranslationHelperHostMessage::Kind::show);
    m_desktop.setScreenSaverActive(kGnomePath, false);
    QTest::qWait(kQuietMs);
    EXPECT_TRUE(visible());
}
