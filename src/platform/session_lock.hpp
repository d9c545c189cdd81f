#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The D-Bus buses to use; an empty address means the standard bus of that kind.
struct LiveTranslationBusAddresses {
    QString session;
    QString system;
};

// Tells when the user's login session is locked and unlocked, from whichever of these the
// desktop offers:
// - on the session bus, ActiveChanged(b) of org.freedesktop.ScreenSaver (on
//   /org/freedesktop/ScreenSaver and /ScreenSaver) and of org.gnome.ScreenSaver
//   (on /org/gnome/ScreenSaver);
// - on the system bus, LockedHint of this process's logind session.
// Desktops often report one lock through several of them, so only changes of the combined state
// are signalled: one sessionLocked() per lock, one sessionUnlocked() per unlock. A missing bus or
// service is not an error: that source just never reports.
class LiveTranslationSessionLockMonitor final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationSessionLockMonitor)

public:
    explicit LiveTranslationSessionLockMonitor(
        const LiveTranslationBusAddresses &buses = {}, QObject *parent = nullptr);
    ~LiveTranslationSessionLockMonitor() override;

signals:
    void sessionLocked();
    void sessionUnlocked();
    // The logind session was found and is now watched.
    void loginSessionWatched(const QString &path);

private:
    // Slots by name: QtDBus connects D-Bus signals to them.
    Q_SLOT void onScreenSaverActiveChanged(bool active);
    Q_SLOT void onSessionPropertiesChanged(
        const QString &interface, const QVariantMap &changed, const QStringList &invalidated);
    void watchScreenSavers();
    void findLoginSession(bool byProcess);
    void watchLoginSession(const QString &path);
    void setLocked(bool locked);

    QString m_sessionBusName;
    QString m_systemBusName;
    QStringList m_privateConnections;
    QString m_loginSessionPath;
    bool m_locked = false;
};
