#include "app_delegate.hpp"

#include <chrono>
#include <utility>

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>
#include <QScreen>

#include "channel.hpp"
#include "color_scheme.hpp"
#include "common/palette.hpp"
#include "model.hpp"
#include "overlay_panel.hpp"
#include "placement.hpp"
#include "root_view.hpp"

namespace {

// How long a panel placed before it was framed waits for the window manager's frame; a panel
// still elsewhere by then was moved on purpose.
constexpr std::chrono::seconds kFramingWait {5};

void applyControlsPalette(LiveTranslationColorScheme scheme)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setPalette(LiveTranslationPalette::forScheme(scheme).toQPalette());
}

} // namespace

LiveTranslationHelperAppDelegate::LiveTranslationHelperAppDelegate(
    const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_model(new LiveTranslationHelperModel(this))
    , m_channel(new LiveTranslationHelperChannel(options.inputFd, options.outputFd, this))
{
}

LiveTranslationHelperAppDelegate::~LiveTranslationHelperAppDelegate()
{
    applicationWillTerminate();
}

void LiveTranslationHelperAppDelegate::applicationDidFinishLaunching()
{
    if (m_panel)
        return;
    m_colorScheme = new LiveTranslationColorSchemeController(m_options.buses.session, this);
    applyControlsPalette(m_colorScheme->effectiveScheme());
    connect(m_colorScheme, &LiveTranslationColorSchemeController::schemeChanged, this,
        &applyControlsPalette);
    createPanel();

    QPointer<LiveTranslationHelperChannel> channel = m_channel;
    m_model->setCommandSender([channel](const LiveTranslationHelperCommand &command) {
        if (channel)
            channel->send(command);
    });
    QPointer<LiveTranslationHelperAppDelegate> self = this;
    m_model->setPanelHider([self] {
        if (self && self->m_panel)
            self->m_panel->orderOut();
    });
    QPointer<LiveTranslationColorSchemeController> scheme = m_colorScheme;
    m_model->setAppearanceSetter([scheme](LiveTranslationAppearance appearance) {
        if (scheme)
            scheme->setAppearance(appearance);
    });
    m_channel->setReceiver([self](LiveTranslationHelperHostMessage &message) {
        if (self)
            self->handleHostMessage(message);
    });
    m_channel->setHostClosedHandler([self] {
        if (self)
            self->terminate();
    });
    m_channel->startReading();

    observeSession();
    observeScreens();
}

void LiveTranslationHelperAppDelegate::createPanel()
{
    m_panel = std::make_unique<LiveTranslationOverlayPanel>();
    auto *view = new LiveTranslationHelperView(m_model, m_panel.get());
    if (m_colorScheme) {
        view->setColorScheme(m_colorScheme->effectiveScheme());
        view->setReduceMotion(m_colorScheme->reduceMotion());
        connect(m_colorScheme, &LiveTranslationColorSchemeController::schemeChanged, view,
            &LiveTranslationHelperView::setColorScheme);
        connect(m_colorScheme, &LiveTranslationColorSchemeController::reduceMotionChanged, view,
            &LiveTranslationHelperView::setReduceMotion);
    }
    view->render();
    m_panel->setContentWidget(view);
    connect(m_panel.get(), &LiveTranslationOverlayPanel::closeRequested, m_model,
        &LiveTranslationHelperModel::closePanel);
    connect(m_panel.get(), &LiveTranslationOverlayPanel::frameChanged, this,
        &LiveTranslationHelperAppDelegate::panelFrameChanged);
}

void LiveTranslationHelperAppDelegate::applicationWillTerminate()
{
    m_channel->stopReading();
    delete m_sessionLock;
    m_sessionLock = nullptr;
    for (const auto &connection : std::as_const(m_screenObservers))
        disconnect(connection);
    m_screenObservers.clear();
}

void LiveTranslationHelperAppDelegate::handleHostMessage(LiveTranslationHelperHostMessage &message)
{
    using Kind = LiveTranslationHelperHostMessage::Kind;
    // Once asked to end, later messages of the same read are not acted on any more.
    if (m_terminating)
        return;
    switch (message.kind) {
    case Kind::snapshot:
        if (message.snapshot)
            m_model->applySnapshot(std::move(*message.snapshot));
        break;
    case Kind::show: showPanel(); break;
    case Kind::hide: hidePanelForHost(); break;
    case Kind::toggle:
        // A minimized panel is not seen: toggling shows it.
        if (m_panel && m_panel->isShown())
            hidePanelForHost();
        else
            showPanel();
        break;
    case Kind::terminate: terminate(); break;
    }
}

void LiveTranslationHelperAppDelegate::hidePanelForHost()
{
    // The host's last word holds: a panel it hid while the session was locked stays hidden.
    m_restoreAfterSessionUnlock = false;
    if (m_panel)
        m_panel->orderOut();
}

void LiveTranslationHelperAppDelegate::showPanel()
{
    if (!m_panel)
        return;
    // Shown already, the panel is asked for again: the host's way to take the user into it.
    const bool shown = m_panel->isShown();
    if (!shown) {
        const LiveTranslationScreenLayout layout = currentScreenLayout();
        placePanel(placementForShowing(m_panel->panelFrame(), layout), layout);
    }
    m_panel->orderFrontRegardless();
    if (shown)
        m_panel->activateForKeyboard();
}

void LiveTranslationHelperAppDelegate::placePanel(
    const LiveTranslationPanelPlacement &placement, const LiveTranslationScreenLayout &layout)
{
    switch (placement.kind) {
    case LiveTranslationPanelPlacement::Kind::keep: break;
    case LiveTranslationPanelPlacement::Kind::move:
        m_panel->movePanelFrame(placement.origin);
        // Before the window manager has framed the panel (its first showing) the frame is the
        // bare window; the title bar and borders are known once it is mapped.
        if (m_panel->isFramed()) {
            m_unframedPlacement.reset();
        } else {
            m_unframedPlacement = LiveTranslationUnframedPlacement {placement.origin, layout};
            m_framingDeadline.setRemainingTime(kFramingWait);
        }
        break;
    case LiveTranslationPanelPlacement::Kind::centre:
        m_unframedPlacement.reset();
        m_panel->centre();
        break;
    }
}

void LiveTranslationHelperAppDelegate::panelFrameChanged()
{
    if (!m_unframedPlacement)
        return;
    if (m_framingDeadline.hasExpired()) {
        m_unframedPlacement.reset();
        return;
    }
    // While the window manager reparents the window, the frame passes through other places
    // (its own corner, for one); the placement is done once it sits framed where it was put.
    const QRect frame = m_panel->panelFrame();
    if (!m_panel->isFramed() || frame.topLeft() != m_unframedPlacement->origin)
        return;
    const auto placed = *std::exchange(m_unframedPlacement, std::nullopt);
    if (const auto origin = placementOnceFramed(placed, frame))
        m_panel->movePanelFrame(*origin);
}

void LiveTranslationHelperAppDelegate::ensurePanelOnScreen()
{
    // A minimized panel is left alone: showing it again checks where it is.
    if (!m_panel || !m_panel->isShown())
        return;
    const LiveTranslationScreenLayout layout = currentScreenLayout();
    const auto placement = replacementAfterScreenChange(m_panel->panelFrame(), true, layout);
    if (!placement)
        return;
    // Placed like the first time, as if it had never been.
    placePanel(*placement, layout);
    m_panel->orderFrontRegardless();
}

void LiveTranslationHelperAppDelegate::sessionDidResignActive()
{
    // A minimized panel was out of sight already: unlocking does not bring it up.
    m_restoreAfterSessionUnlock = m_panel && m_panel->isShown();
    if (m_panel)
        m_panel->orderOut();
}

void LiveTranslationHelperAppDelegate::sessionDidBecomeActive()
{
    if (!m_restoreAfterSessionUnlock)
        return;
    m_restoreAfterSessionUnlock = false;
    showPanel();
}

void LiveTranslationHelperAppDelegate::terminate()
{
    if (m_terminating)
        return;
    m_terminating = true;
    emit terminateRequested();
}

void LiveTranslationHelperAppDelegate::observeSession()
{
    m_sessionLock = new LiveTranslationSessionLockMonitor(m_options.buses, this);
    // Queued: each reaction runs as a task of its own on the main thread.
    connect(m_sessionLock, &LiveTranslationSessionLockMonitor::sessionLocked, this,
        &LiveTranslationHelperAppDelegate::sessionDidResignActive, Qt::QueuedConnection);
    connect(m_sessionLock, &LiveTranslationSessionLockMonitor::sessionUnlocked, this,
        &LiveTranslationHelperAppDelegate::sessionDidBecomeActive, Qt::QueuedConnection);
}

void LiveTranslationHelperAppDelegate::observeScreens()
{
    auto *app = qGuiApp;
    if (!app)
        return;
    m_screenObservers << connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        observeScreen(screen);
        scheduleScreenCheck();
    });
    m_screenObservers << connect(app, &QGuiApplication::screenRemoved, this,
        &LiveTranslationHelperAppDelegate::scheduleScreenCheck);
    m_screenObservers << connect(app, &QGuiApplication::primaryScreenChanged, this,
        &LiveTranslationHelperAppDelegate::scheduleScreenCheck);
    for (QScreen *screen : QGuiApplication::screens())
        observeScreen(screen);
}

void LiveTranslationHelperAppDelegate::observeScreen(QScreen *screen)
{
    m_screenObservers << connect(screen, &QScreen::geometryChanged, this,
        &LiveTranslationHelperAppDelegate::scheduleScreenCheck);
    m_screenObservers << connect(screen, &QScreen::availableGeometryChanged, this,
        &LiveTranslationHelperAppDelegate::scheduleScreenCheck);
}

void LiveTranslationHelperAppDelegate::scheduleScreenCheck()
{
    // A change of screens arrives as a burst of signals: one check after all of them.
    if (m_screenCheckQueued)
        return;
    m_screenCheckQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_screenCheckQueued = false;
            ensurePanelOnScreen();
        },
        Qt::QueuedConnection);
}
