#pragma once

#include <memory>
#include <optional>

#include <QDeadlineTimer>
#include <QObject>

#include "placement.hpp"
#include "session_lock.hpp"
#include "wire_types.hpp"

class QScreen;
class LiveTranslationHelperChannel;
class LiveTranslationHelperModel;
class LiveTranslationOverlayPanel;
class LiveTranslationColorSchemeController;

// The process itself: owns the model, the channel to the host and the panel, dispatches the host's
// messages, and reacts to the session being locked and unlocked and to screens changing.
class LiveTranslationHelperAppDelegate final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationHelperAppDelegate)

public:
    struct Options {
        int inputFd = 0; // host messages come from here
        int outputFd = 1; // commands go here
        LiveTranslationBusAddresses buses;
    };

    explicit LiveTranslationHelperAppDelegate(const Options &options, QObject *parent = nullptr);
    ~LiveTranslationHelperAppDelegate() override;

    // Builds the hidden panel, wires model, channel and panel together, starts reading the host's
    // messages and watches the session and the screens. Called once, before the event loop runs.
    void applicationDidFinishLaunching();
    // Stops reading and watching. Runs when the application is about to quit.
    void applicationWillTerminate();

    // A snapshot is handed to the model, which leaves the snapshot it replaces in the message.
    void handleHostMessage(LiveTranslationHelperHostMessage &message);
    void handleHostMessage(LiveTranslationHelperHostMessage &&message)
    {
        handleHostMessage(message);
    }
    // Places a hidden panel that was never placed, or that no screen shows any more, and brings
    // it to the front without activating it.
    void showPanel();
    // Puts a visible panel that no screen shows any more back onto a screen.
    void ensurePanelOnScreen();

    void sessionDidResignActive();
    void sessionDidBecomeActive();

    LiveTranslationHelperModel *model() const { return m_model; }
    LiveTranslationHelperChannel *channel() const { return m_channel; }
    LiveTranslationOverlayPanel *panel() const { return m_panel.get(); }
    LiveTranslationColorSchemeController *colorScheme() const { return m_colorScheme; }

signals:
    // The application is asked to end (terminate message, end of the host's input).
    void terminateRequested();

private:
    void createPanel();
    // "hide", or a "toggle" that hides: also cancels showing the panel again at unlock.
    void hidePanelForHost();
    void placePanel(
        const LiveTranslationPanelPlacement &placement, const LiveTranslationScreenLayout &layout);
    void panelFrameChanged();
    void terminate();
    void observeSession();
    void observeScreens();
    void observeScreen(QScreen *screen);
    void scheduleScreenCheck();

    Options m_options;
    LiveTranslationHelperModel *m_model = nullptr;
    LiveTranslationHelperChannel *m_channel = nullptr;
    std::unique_ptr<LiveTranslationOverlayPanel> m_panel; // a window: no QObject parent
    LiveTranslationColorSchemeController *m_colorScheme = nullptr;
    LiveTranslationSessionLockMonitor *m_sessionLock = nullptr;
    QList<QMetaObject::Connection> m_screenObservers;
    // Set while a panel placed before the window manager framed it waits for its frame.
    std::optional<LiveTranslationUnframedPlacement> m_unframedPlacement;
    QDeadlineTimer m_framingDeadline;
    bool m_restoreAfterSessionUnlock = false;
    bool m_screenCheckQueued = false;
    bool m_terminating = false;
};
