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
#include "channel.hpp"
#include "color_scheme.hpp"
#include "common/palette.hpp"
#include "model.hpp"
#include "overlay_panel.hpp"
#include "placement.hpp"
#include "wire_codec.hpp"

namespace {

using Command = LiveTranslationHelperCommand;
using Message = LiveTranslationHelperHostMessage;

// Where an unplaced panel goes on the offscreen platform's one screen (800 × 600): 18 pixels in
// from the right edge, in the middle of the height. It is 520 × 760, cut to 560 high by the
// screen; once shown, its frame adds 2 pixels on each side.
const QPoint kFirstPlacedOrigin(262, 20);
const QPoint kPlacedOrigin(258, 18);

// No D-Bus for these tests: the desktop's own session must not lock or recolour the panel.
const LiveTranslationBusAddresses kNoBuses {
    QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("unix:path=/nonexistent/bus")};

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
// through another.
class DelegateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::pipe2(m_input, O_CLOEXEC), 0);
        ASSERT_EQ(::pipe2(m_output, O_CLOEXEC | O_NONBLOCK), 0);
        LiveTranslationHelperAppDelegate::Options options;
        options.inputFd = m_input[0];
        options.outputFd = m_output[1];
        options.buses = kNoBuses;
        m_delegate = std::make_unique<LiveTranslationHelperAppDelegate>(options);
        m_delegate->applicationDidFinishLaunching();
        ASSERT_NE(panel(), nullptr);
    }

    void TearDown() override
    {
        m_delegate.reset();
        for (int fd : {m_input[0], m_input[1], m_output[0], m_output[1]}) {
            if (fd >= 0)
                ::close(fd);
        }
    }

    LiveTranslationOverlayPanel *panel() const { return m_delegate->panel(); }

    void send(Message::Kind kind) { m_delegate->handleHostMessage(Message::make(kind)); }
    void send(LiveTranslationHelperSnapshot value)
    {
        m_delegate->handleHostMessage(Message::makeSnapshot(std::move(value)));
    }

    void writeLine(const std::string &line)
    {
        const std::string data = line + "\n";
        ASSERT_EQ(::write(m_input[1], data.data(), data.size()), static_cast<ssize_t>(data.size()));
    }

    void closeHostInput()
    {
        ::close(m_input[1]);
        m_input[1] = -1;
    }

    // Everything the helper wrote so far, decoded line by line.
    std::vector<Command> commands()
    {
        char buffer[4096];
        for (;;) {
            const ssize_t count = ::read(m_output[0], buffer, sizeof buffer);
            if (count <= 0)
                break;
            m_written.append(buffer, static_cast<std::size_t>(count));
        }
        std::vector<Command> result;
        WireDecoder decoder;
        std::size_t start = 0;
        for (std::size_t end; (end = m_written.find('\n', start)) != std::string::npos;
             start = end + 1) {
            auto decoded
                = decoder.decodeCommand(std::string_view(m_written).substr(start, end - start));
            EXPECT_TRUE(decoded) << "not a command line: " << m_written.substr(start, end - start);
            if (decoded)
                result.push_back(*decoded.value);
        }
        EXPECT_EQ(start, m_written.size()) << "a command line without its line feed";
        return result;
    }

    // Where the placement rule puts a never-placed panel on the screens the test runs with. The
    // frame is known only once the panel has been shown, so ask before the placement happens.

    int m_input[2] = {-1, -1};
    int m_output[2] = {-1, -1};
    std::string m_written;
    std::unique_ptr<LiveTranslationHelperAppDelegate> m_delegate;
};

} // namespace

TEST(OverlayPanel, IsAFloatingUtilityPanelWithTitleAndCloseButtonOnly)
{
    LiveTranslationOverlayPanel panel;
    const Qt::WindowFlags flags = panel.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);
    for (const auto flag : {Qt::WindowStaysOnTopHint, Qt::WindowTitleHint,
             Qt::WindowCloseButtonHint, Qt::CustomizeWindowHint})
        EXPECT_TRUE(flags.testFlag(flag)) << flag;
    for (const auto flag : {Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint,
             Qt::FramelessWindowHint, Qt::WindowDoesNotAcceptFocus})
        EXPECT_FALSE(flags.testFlag(flag)) << flag;
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Live Translate"));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(panel.isVisible());
}

TEST(OverlayPanel, KeepsItsContentSizeWithinLimits)
{
    LiveTranslationOverlayPanel panel;
    panel.setContentWidget(new QWidget);
    EXPECT_EQ(panel.size(), QSize(520, 760));
    EXPECT_EQ(panel.minimumSize(), QSize(460, 520));
    EXPECT_EQ(panel.maximumSize(), QSize(660, 1200));
    panel.resize(100, 100);
    EXPECT_EQ(panel.size(), QSize(460, 520));
    panel.resize(5000, 5000);
    EXPECT_EQ(panel.size(), QSize(660, 1200));
}

TEST(OverlayPanel, ContentFillsThePanelAndReplacingItDeletesTheOldOne)
{
    LiveTranslationOverlayPanel panel;
    QPointer<QWidget> first = new QWidget;
    panel.setContentWidget(first);
    EXPECT_EQ(first->parentWidget(), &panel);
    panel.orderFrontRegardless();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    EXPECT_EQ(first->geometry(), panel.rect());

    auto *second = new QWidget;
    panel.setContentWidget(second);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(second->parentWidget(), &panel);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->geometry() == panel.rect(); }));
}

TEST(OverlayPanel, CloseButtonNeverClosesItOnlyAsks)
{
    LiveTranslationOverlayPanel panel;
    QSignalSpy asked(&panel, &LiveTranslationOverlayPanel::closeRequested);
    panel.orderFrontRegardless();
    EXPECT_FALSE(panel.close());
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(asked.count(), 1);
}

TEST_F(DelegateTest, LaunchBuildsAHiddenPanelThatSnapshotsNeverShow)
{
    EXPECT_FALSE(panel()->isVisible());
    send(snapshot(1));
    send(snapshot(2, true));
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(m_delegate->model()->snapshot().generation, 2U);

    send(Message::Kind::show);
    send(snapshot(3));
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(m_delegate->model()->snapshot().generation, 3U);
    EXPECT_TRUE(commands().empty());
}

TEST_F(DelegateTest, ShowPlacesAnUnplacedPanelAndKeepsADraggedOneWhereItIs)
{
    const QPoint expected = kFirstPlacedOrigin;
    send(Message::Kind::show);
    ASSERT_TRUE(panel()->isVisible());
    EXPECT_EQ(panel()->panelFrame().topLeft(), expected);
    EXPECT_EQ(panel()->size(), QSize(520, 760));

    panel()->movePanelFrame({40, 30});
    send(Message::Kind::show); // still visible: left where it is
    EXPECT_EQ(panel()->panelFrame().topLeft(), QPoint(40, 30));
    send(Message::Kind::hide);
    EXPECT_FALSE(panel()->isVisible());
    send(Message::Kind::show);
    EXPECT_EQ(panel()->panelFrame().topLeft(), QPoint(40, 30));

    // The origin means unplaced: dragged exactly there, the panel is placed anew when shown.
    panel()->movePanelFrame({0, 0});
    send(Message::Kind::show);
    EXPECT_EQ(panel()->panelFrame().topLeft(), QPoint(0, 0));
    send(Message::Kind::hide);
    const QPoint again = kPlacedOrigin;
    send(Message::Kind::show);
    EXPECT_EQ(panel()->panelFrame().topLeft(), again);
}

// The first showing takes no focus: the window manager walk checks that, since the offscreen
// platform activates every window it shows.
TEST_F(DelegateTest, AShowWhileShownTakesTheKeyboardToTheFirstControl)
{
    send(Message::Kind::show);
    panel()->findChild<QWidget *>(QStringLiteral("liveTranslation.hideButton"))->setFocus();
    send(Message::Kind::show);
    EXPECT_TRUE(QTest::qWaitFor([this] { return panel()->isActiveWindow(); }));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(
        QApplication::focusWidget()->objectName(), QStringLiteral("liveTranslation.languagePair"));
}

TEST_F(DelegateTest, ToggleTwiceRestoresTheVisibility)
{
    const QPoint expected = kFirstPlacedOrigin;
    send(Message::Kind::toggle);
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(panel()->panelFrame().topLeft(), expected);
    send(Message::Kind::toggle);
    EXPECT_FALSE(panel()->isVisible());

    send(Message::Kind::show);
    send(Message::Kind::toggle);
    send(Message::Kind::toggle);
    EXPECT_TRUE(panel()->isVisible());

    send(Message::Kind::hide);
    send(Message::Kind::hide);
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(DelegateTest, AMinimizedPanelCountsAsHiddenAndShowingBringsItBack)
{
    send(Message::Kind::show);
    panel()->movePanelFrame({40, 30});
    for (const auto kind : {Message::Kind::show, Message::Kind::toggle}) {
        panel()->showMinimized();
        send(kind);
        EXPECT_TRUE(panel()->isVisible());
        EXPECT_FALSE(panel()->isMinimized());
        EXPECT_EQ(panel()->panelFrame().topLeft(), QPoint(40, 30));
    }
    // Out of sight at the lock: hidden, and not brought up at unlock.
    panel()->showMinimized();
    m_delegate->sessionDidResignActive();
    m_delegate->sessionDidBecomeActive();
    EXPECT_FALSE(panel()->isVisible());
    // Hidden while minimized, it comes back as a normal window.
    send(Message::Kind::show);
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_FALSE(panel()->isMinimized());
}

TEST_F(DelegateTest, UnlockRestoresThePanelUnlessTheHostHidItDuringTheLock)
{
    using Kind = Message::Kind;
    struct Case {
        bool visibleAtLock;
        std::vector<Kind> duringLock;
        bool visibleAfterUnlock;
    };
    const Case cases[] = {
        {true, {}, true},
        {false, {}, false},
        {true, {Kind::hide}, false},
        {true, {Kind::show, Kind::toggle}, false},
        {true, {Kind::show}, true},
        {false, {Kind::toggle}, true},
        {true, {Kind::hide, Kind::show}, true},
    };
    for (const Case &c : cases) {
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

TEST_F(DelegateTest, CloseButtonHidesThePanelAndSendsHideAloneWithoutASession)
{
    send(Message::Kind::show);
    EXPECT_FALSE(panel()->close());
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(commands(), std::vector<Command> {Command::hide()});
    // The panel lives on and comes back on the next show.
    send(Message::Kind::show);
    EXPECT_TRUE(panel()->isVisible());
}

TEST_F(DelegateTest, CloseButtonStopsAnActiveSessionBeforeHiding)
{
    send(snapshot(4, true));
    send(Message::Kind::show);
    // The panel is hidden between the two commands: note its visibility at each of them.
    std::vector<bool> visibleWhenSent;
    auto *channel = m_delegate->channel();
    m_delegate->model()->setCommandSender([&](const Command &command) {
        visibleWhenSent.push_back(panel()->isVisible());
        channel->send(command);
    });
    EXPECT_FALSE(panel()->close());
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(commands(), (std::vector<Command> {Command::stop(), Command::hide()}));
    EXPECT_EQ(visibleWhenSent, (std::vector<bool> {true, false}));
}

TEST_F(DelegateTest, HostMessagesArriveThroughStandardInputInOrder)
{
    writeLine(encodeHostMessage(Message::makeSnapshot(snapshot(9))));
    writeLine(R"({"type":"show")"); // cut short: dropped without a trace
    writeLine(encodeHostMessage(Message::make(Message::Kind::show)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel()->isVisible(); }, 5000));
    EXPECT_EQ(m_delegate->model()->snapshot().generation, 9U);
    EXPECT_TRUE(commands().empty());
}

TEST_F(DelegateTest, SnapshotsOfChangingSizeThroughStandardInputArriveExact)
{
    // Each line is read into the storage of a snapshot the model gave up: larger, smaller, with
    // and without the optional texts, each must come out as sent.
    std::vector<LiveTranslationHelperSnapshot> sent;
    for (const std::size_t cards : {40, 0, 3, 25, 1, 40}) {
        LiveTranslationHelperSnapshot value = snapshot(sent.size() + 1, cards % 2 == 1);
        value.statusMessage = "status " + std::string(cards, '*');
        for (std::size_t i = 0; i < cards; ++i) {
            value.committedCards.push_back({"card-" + std::to_string(i),
                std::string(10 + i * 3, 's'), std::string(30 - i % 30, 't'), 1.0 * i});
        }
        if (cards % 2 == 1) {
            value.activeSourceText = "active " + std::to_string(cards);
            value.captureFallbackNotice = "notice";
        }
        sent.push_back(value);
    }
    for (const auto &value : sent) {
        writeLine(encodeHostMessage(Message::makeSnapshot(value)));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return m_delegate->model()->snapshot().generation == value.generation; }, 5000));
        EXPECT_EQ(m_delegate->model()->snapshot(), value);
    }
}

TEST_F(DelegateTest, ASnapshotMessageIsLeftHoldingTheSnapshotItReplaced)
{
    Message message = Message::makeSnapshot(snapshot(5, true));
    m_delegate->handleHostMessage(message);
    EXPECT_EQ(m_delegate->model()->snapshot(), snapshot(5, true));
    ASSERT_TRUE(message.snapshot.has_value());
    EXPECT_EQ(*message.snapshot, LiveTranslationHelperSnapshot::initial());
}

TEST_F(DelegateTest, TerminateAndEndOfInputEachAskToEndOnceAndLaterMessagesAreIgnored)
{
    QSignalSpy ended(m_delegate.get(), &LiveTranslationHelperAppDelegate::terminateRequested);
    send(Message::Kind::terminate);
    send(Message::Kind::show);
    send(Message::Kind::terminate);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(DelegateTest, EndOfTheHostsInputAsksToEnd)
{
    QSignalSpy ended(m_delegate.get(), &LiveTranslationHelperAppDelegate::terminateRequested);
    writeLine(encodeHostMessage(Message::make(Message::Kind::show)));
    closeHostInput();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() > 0; }, 5000));
    EXPECT_TRUE(panel()->isVisible()) << "the message before the end was still handled";
    QTest::qWait(20);
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(DelegateTest, SnapshotAppearanceForcesTheSchemeAndTheControlsPalette)
{
    auto *scheme = m_delegate->colorScheme();
    ASSERT_NE(scheme, nullptr);
    const auto window = [] { return QApplication::palette().color(QPalette::Window); };

    send(snapshot(1, false, "dark"));
    EXPECT_EQ(scheme->effectiveScheme(), LiveTranslationColorScheme::dark);
    EXPECT_EQ(window(), LiveTranslationPalette::dark().background);

    // An older snapshot changes nothing, its appearance included.
    send(snapshot(0, false, "light"));
    EXPECT_EQ(scheme->effectiveScheme(), LiveTranslationColorScheme::dark);

    send(snapshot(2, false, "light"));
    EXPECT_EQ(scheme->effectiveScheme(), LiveTranslationColorScheme::light);
    EXPECT_EQ(window(), LiveTranslationPalette::light().background);

    send(snapshot(3, false, "Dark")); // not "dark": the system decides
    EXPECT_EQ(scheme->appearance(), LiveTranslationAppearance::system);
}

TEST_F(DelegateTest, ScreenChangesAreCoalescedIntoOneQueuedCheckThatRescuesAStrandedPanel)
{
    send(Message::Kind::show);
    panel()->movePanelFrame({20000, 20000});
    const QPoint placed = kPlacedOrigin;
    QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    emit screen->geometryChanged(screen->geometry());
    emit screen->availableGeometryChanged(screen->availableGeometry());
    emit qGuiApp->primaryScreenChanged(screen);
    // Nothing happens inside the signals; one task does the check afterwards.
    EXPECT_EQ(panel()->panelFrame().topLeft(), QPoint(20000, 20000));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel()->panelFrame().topLeft(), placed);
    EXPECT_TRUE(panel()->isVisible());
}

TEST_F(DelegateTest, ScreenChangesLeaveAHiddenOrStillVisiblePanelAlone)
{
    send(Message::Kind::show);
    panel()->movePanelFrame({20000, 20000});
    send(Message::Kind::hide);
    emit qGuiApp->primaryScreenChanged(QGuiApplication::primaryScreen());
    QCoreApplication::processEvents();
    EXPECT_EQ(panel()->panelFrame().topLeft(), QPoint(20000, 20000));
    EXPECT_FALSE(panel()->isVisible());

    // Shown again, it does not stay where no screen shows it.
    const QPoint expected = kPlacedOrigin;
    send(Message::Kind::show);
    EXPECT_EQ(panel()->panelFrame().topLeft(), expected);

    panel()->movePanelFrame({-300, 10}); // partly on the screen
    m_delegate->ensurePanelOnScreen();
    EXPECT_EQ(panel()->panelFrame().topLeft(), QPoint(-300, 10));
}
