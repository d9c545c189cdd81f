#pragma once

#include <functional>

#include <QObject>

#include "appearance.hpp"
#include "wire_types.hpp"

// "light" and "dark" (exactly, case-sensitive) force a scheme; anything else follows the system.
LiveTranslationAppearance appearanceFromMode(const std::string &mode);

// Holds the newest snapshot from the host and carries the user's actions back to it.
// Everything runs on the main thread.
class LiveTranslationHelperModel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationHelperModel)

public:
    using CommandSender = std::function<void(const LiveTranslationHelperCommand &)>;
    using PanelHider = std::function<void()>;
    using AppearanceSetter = std::function<void(LiveTranslationAppearance)>;

    explicit LiveTranslationHelperModel(QObject *parent = nullptr);

    const LiveTranslationHelperSnapshot &snapshot() const { return m_snapshot; }

    // Replaces the snapshot unless the incoming generation is lower; notifies on every replacement.
    // The snapshot taken is exchanged for the one it replaces: `snapshot` then holds the replaced
    // snapshot, whose storage the caller may reuse. A stale snapshot is left as it is.
    void applySnapshot(LiveTranslationHelperSnapshot &&snapshot);
    // The same, copying the snapshot.
    void applySnapshot(const LiveTranslationHelperSnapshot &snapshot);

    // The panel's close button: stop a running session, hide the panel, tell the host.
    void closePanel();

    // Delivers one command to the host; lost until a sender is set.
    void sendCommand(const LiveTranslationHelperCommand &command) const;

    void setCommandSender(CommandSender sender) { m_sendCommand = std::move(sender); }
    void setPanelHider(PanelHider hider) { m_hidePanel = std::move(hider); }
    void setAppearanceSetter(AppearanceSetter setter) { m_setAppearance = std::move(setter); }

signals:
    void snapshotChanged();

private:
    void notifyReplaced();

    LiveTranslationHelperSnapshot m_snapshot = LiveTranslationHelperSnapshot::initial();
    CommandSender m_sendCommand;
    PanelHider m_hidePanel;
    AppearanceSetter m_setAppearance;
};
