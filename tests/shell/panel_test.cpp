#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "app_delegate.hpp"
#include "model.hpp"
#include "overlay_panel.hpp"
#include "wire_codec.hpp"

namespace {

using Message = LiveTranslationHelperHostMessage;
using Kind = Message::Kind;

// An unplaced 520 × 760 panel on the offscreen platform's 800 × 600 screen (cut to 560 high),
// 18 pixels in from the right edge, in the middle; once shown its frame adds 2 pixels a side.
const QPoint kFirstPlacedOrigin(262, 20);
const QPoint kPlacedOrigin(258, 18);
const QPoint kDragged(40, 30);
const QPoint kOffScreen(20000, 20000);

LiveTranslationHelperSnapshot snapshot(
    std::uint64_t generation, bool sessionActive = false, std::string appearance = "system")
{
    LiveTranslationHelperSnapshot value;
    value.generation = generation;
    value.isSessionActive = sessionActive;
    value.appearanceMode = std::move(appearance);
    return value;
}

// A delegate whose host is this test: host messages go in through one pipe, commands come back
// through another. No D-Bus: the desktop's own session must not lock or recolour the panel.
class DelegateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::pipe2(m_input, O_CLOEXEC), 0);
        ASSERT_EQ(::pipe2(m_output, O_CLOEXEC | O_NONBLOCK), 0);
        const QString nowhere = QStringLiteral("unix:path=/nonexistent/bus");
        m_delegate = std::make_unique<LiveTranslationHelperAppDelegate>(
            LiveTranslationHelperAppDelegate::Options {
                m_input[0], m_output[1], {nowhere, nowhere}});
        m_delegate->applicationDidFinishLaunching();
        ASSERT_NE(panel(), nullptr);
    }

    void TearDown() override
    {
        m_delegate.reset();
        for (int fd : {m_input[0], m_input[1], m_output[0], m_output[1]})
            ::close(fd);
    }

    LiveTranslationOverlayPanel *panel() const { return m_delegate->panel(); }
    QPoint origin() const { return panel()->panelFrame().topLeft(); }
    void send(Kind kind) { m_delegate->handleHostMessage(Message::make(kind)); }
    void send(LiveTranslationHelperSnapshot value)
    {
        m_delegate->handleHostMessage(Message::makeSnapshot(std::move(value)));
    }

    // What the helper wrote so far (a few lines: one read).
    std::string written() const
    {
        char buffer[4096];
        const ssize_t count = ::read(m_output[0], buffer, sizeof buffer);
        return {buffer, static_cast<std::size_t>(std::max<ssize_t>(count, 0))};
    }

    int m_input[2] = {-1, -1};
    int m_output[2] = {-1, -1};
    std::unique_ptr<LiveTranslationHelperAppDelegate> m_delegate;
};

} // namespace

TEST(OverlayPanel, IsAFloatingTitledPanelWithinSizeLimitsThatItsContentFills)
{
    LiveTranslationOverlayPanel panel;
    // No minimize or maximize button, a frame, and it accepts focus (the language search field).
    EXPECT_EQ(panel.windowFlags(),
        Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Live Translate"));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));

    QPointer<QWidget> first = new QWidget;
    panel.setContentWidget(first);
    EXPECT_EQ(panel.size(), QSize(520, 760));
    panel.resize(100, 100);
    EXPECT_EQ(panel.size(), QSize(460, 520));
    panel.resize(5000, 5000);
    EXPECT_EQ(panel.size(), QSize(660, 1200));
    panel.orderFrontRegardless();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    EXPECT_EQ(first->geometry(), panel.rect());

    auto *second = new QWidget;
    panel.setContentWidget(second);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->geometry() == panel.rect(); }));
}

TEST_F(DelegateTest, SnapshotsNeverShowThePanelAndTerminateAsksToEndOnceIgnoringTheRest)
{
    QSignalSpy ended(m_delegate.get(), &LiveTranslationHelperAppDelegate::terminateRequested);
    Message message = Message::makeSnapshot(snapshot(2, true));
    m_delegate->handleHostMessage(message);
    EXPECT_EQ(m_delegate->model()->snapshot(), snapshot(2, true));
    EXPECT_EQ(*message.snapshot, LiveTranslationHelperSnapshot::initial()); // for reuse
    EXPECT_FALSE(panel()->isVisible());
    send(Kind::terminate);
    send(Kind::show);
    send(Kind::terminate);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(written(), "");
}

// (The first showing takes no focus: the offscreen platform activates every window it shows.)
TEST_F(DelegateTest, ShowPlacesAnUnplacedPanelKeepsADraggedOneAndTakesTheKeyboardWhenShown)
{
    send(Kind::show);
    EXPECT_EQ(origin(), kFirstPlacedOrigin);

    panel()->movePanelFrame(kDragged);
    panel()->findChild<QWidget *>(QStringLiteral("liveTranslation.hideButton"))->setFocus();
    send(Kind::show); // still visible: left where it is, and the keyboard goes to the first control
    EXPECT_EQ(origin(), kDragged);
    EXPECT_TRUE(QTest::qWaitFor([this] { return panel()->isActiveWindow(); }));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(
        QApplication::focusWidget()->objectName(), QStringLiteral("liveTranslation.languagePair"));
    send(Kind::hide);
    send(Kind::show);
    EXPECT_EQ(origin(), kDragged);
}

TEST_F(DelegateTest, AMinimizedPanelCountsAsHiddenAndShowingBringsItBack)
{
    send(Kind::show);
    panel()->movePanelFrame(kDragged);
    for (const auto kind : {Kind::show, Kind::toggle}) {
        panel()->showMinimized();
        send(kind);
        EXPECT_TRUE(panel()->isVisible());
        EXPECT_FALSE(panel()->isMinimized());
        EXPECT_EQ(origin(), kDragged);
    }
    // Out of sight at the lock: hidden, and not brought up at unlock.
    panel()->showMinimized();
    m_delegate->sessionDidResignActive();
    m_delegate->sessionDidBecomeActive();
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(DelegateTest, UnlockRestoresThePanelUnlessTheHostHidItDuringTheLock)
{
    const struct {
        bool visibleAtLock;
        std::vector<Kind> duringLock;
        bool visibleAfterUnlock;
    } cases[] = {{true, {}, true}, {false, {}, false}, {true, {Kind::hide}, false},
        {true, {Kind::show, Kind::toggle}, false}, {true, {Kind::show}, true},
        {false, {Kind::toggle}, true}, {true, {Kind::hide, Kind::show}, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        send(c.visibleAtLock ? Kind::show : Kind::hide);
        m_delegate->sessionDidResignActive();
        EXPECT_FALSE(panel()->isVisible());
        for (const Kind kind : c.duringLock)
            send(kind);
        m_delegate->sessionDidBecomeActive();
        EXPECT_EQ(panel()->isVisible(), c.visibleAfterUnlock);
        // An unlock restores once: hidden again, a second unlock leaves it hidden.
        panel()->orderOut();
        m_delegate->sessionDidBecomeActive();
        EXPECT_FALSE(panel()->isVisible());
    }
}

TEST_F(DelegateTest, CloseButtonHidesThePanelAndStopsAnActiveSessionFirst)
{
    send(snapshot(4, true));
    send(Kind::show);
    EXPECT_FALSE(panel()->close());
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(written(), "{\"type\":\"stop\"}\n{\"type\":\"hide\"}\n");
    // The panel lives on and comes back on the next show.
    send(Kind::show);
    EXPECT_TRUE(panel()->isVisible());
}

TEST_F(DelegateTest, HostMessagesArriveThroughStandardInputInOrderUntilItsEnd)
{
    QSignalSpy ended(m_delegate.get(), &LiveTranslationHelperAppDelegate::terminateRequested);
    // The second line is cut short: dropped without a trace.
    const std::string lines = encodeHostMessage(Message::makeSnapshot(snapshot(9)))
        + "\n{\"type\":\"show\"\n{\"type\":\"show\"}\n";
    ASSERT_EQ(::write(m_input[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    ::close(std::exchange(m_input[1], -1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() > 0; }, 5000));
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(m_delegate->model()->snapshot().generation, 9U);
    send(Kind::hide); // after the end: ignored
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(written(), "");
}

TEST_F(DelegateTest, SnapshotAppearanceForcesTheSchemeAndTheControlsPalette)
{
    const auto window = [] { return QApplication::palette().color(QPalette::Window); };
    send(snapshot(1, false, "dark"));
    EXPECT_EQ(window(), QColor(6, 17, 27));
    send(snapshot(2, false, "light"));
    EXPECT_EQ(window(), QColor(253, 249, 240));
}

TEST_F(DelegateTest, ScreenChangesAreCoalescedIntoOneQueuedCheckThatRescuesAStrandedPanel)
{
    // Hidden, a stranded panel is left alone; shown again, it is placed anew.
    send(Kind::show);
    panel()->movePanelFrame(kOffScreen);
    send(Kind::hide);
    emit qGuiApp->primaryScreenChanged(QGuiApplication::primaryScreen());
    QCoreApplication::processEvents();
    EXPECT_EQ(origin(), kOffScreen);
    send(Kind::show);
    EXPECT_EQ(origin(), kPlacedOrigin);

    panel()->movePanelFrame(kOffScreen);
    QScreen *screen = QGuiApplication::primaryScreen();
    emit screen->geometryChanged(screen->geometry());
    emit screen->availableGeometryChanged(screen->availableGeometry());
    emit qGuiApp->primaryScreenChanged(screen);
    EXPECT_EQ(origin(), kOffScreen); // nothing inside the signals; one task checks afterwards
    QCoreApplication::processEvents();
    EXPECT_EQ(origin(), kPlacedOrigin);
}
