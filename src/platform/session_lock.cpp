#include "session_lock.hpp"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

constexpr auto kLogindService = "org.freedesktop.login1";
constexpr auto kLogindPath = "/org/freedesktop/login1";
constexpr auto kLogindManager = "org.freedesktop.login1.Manager";
constexpr auto kLogindSession = "org.freedesktop.login1.Session";
constexpr auto kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr auto kLockedHint = "LockedHint";

struct ScreenSaverSource {
    const char *service;
    const char *path;
    const char *interface;
};

constexpr ScreenSaverSource kScreenSavers[] = {
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver"},
};

// The standard bus, or a private connection to the given address (whose name is recorded so
// that it can be closed again).
QString openBus(QDBusConnection::BusType type, const QString &address, const char *role,
    QStringList &privateConnections)
{
    if (address.isEmpty())
        return (type == QDBusConnection::SessionBus ? QDBusConnection::sessionBus()
                                                    : QDBusConnection::systemBus())
            .name();
    QString name = QStringLiteral("tavu-session-lock-%1-%2")
                       .arg(QLatin1String(role))
                       .arg(reinterpret_cast<quintptr>(&privateConnections));
    QDBusConnection::connectToBus(address, name);
    privateConnections.append(name);
    return name;
}

bool unwrapBool(QVariant value, bool *ok)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    *ok = value.userType() == QMetaType::Bool;
    return value.toBool();
}

} // namespace

LiveTranslationSessionLockMonitor::LiveTranslationSessionLockMonitor(
    const LiveTranslationBusAddresses &buses, QObject *parent)
    : QObject(parent)
{
    m_sessionBusName
        = openBus(QDBusConnection::SessionBus, buses.session, "session", m_privateConnections);
    m_systemBusName
        = openBus(QDBusConnection::SystemBus, buses.system, "system", m_privateConnections);
    watchScreenSavers();
    findLoginSession(false);
}

LiveTranslationSessionLockMonitor::~LiveTranslationSessionLockMonitor()
{
    QDBusConnection session(m_sessionBusName);
    for (const auto &source : kScreenSavers)
        session.disconnect(QLatin1String(source.service), QLatin1String(source.path),
            QLatin1String(source.interface), QStringLiteral("ActiveChanged"), this,
            SLOT(onScreenSaverActiveChanged(bool)));
    if (!m_loginSessionPath.isEmpty())
        QDBusConnection(m_systemBusName)
            .disconnect(QLatin1String(kLogindService), m_loginSessionPath,
                QLatin1String(kPropertiesInterface), QStringLiteral("PropertiesChanged"), this,
                SLOT(onSessionPropertiesChanged(QString, QVariantMap, QStringList)));
    for (const QString &name : std::as_const(m_privateConnections))
        QDBusConnection::disconnectFromBus(name);
}

void LiveTranslationSessionLockMonitor::watchScreenSavers()
{
    QDBusConnection session(m_sessionBusName);
    if (!session.isConnected())
        return;
    // Only the owner of the screen saver's name is listened to, not any client of the bus.
    for (const auto &source : kScreenSavers)
        session.connect(QLatin1String(source.service), QLatin1String(source.path),
            QLatin1String(source.interface), QStringLiteral("ActiveChanged"), this,
            SLOT(onScreenSaverActiveChanged(bool)));
}

void LiveTranslationSessionLockMonitor::findLoginSession(bool byProcess)
{
    QDBusConnection system(m_systemBusName);
    if (!system.isConnected())
        return;
    // "auto" is the caller's session, or the user's graphical one when the caller (say, a
    // service) has none; asking by process is for logind versions that lack "auto".
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kLogindService),
        QLatin1String(kLogindPath), QLatin1String(kLogindManager),
        byProcess ? QStringLiteral("GetSessionByPID") : QStringLiteral("GetSession"));
    if (byProcess)
        call << static_cast<uint>(::getpid());
    else
        call << QStringLiteral("auto");
    call.setAutoStartService(false);
    auto *watcher = new QDBusPendingCallWatcher(system.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, byProcess](QDBusPendingCallWatcher *finished) {
            finished->deleteLater();
            const QDBusPendingReply<QDBusObjectPath> reply = *finished;
            if (reply.isValid())
                watchLoginSession(reply.value().path());
            else if (!byProcess)
                findLoginSession(true);
        });
}

void LiveTranslationSessionLockMonitor::watchLoginSession(const QString &path)
{
    if (path.isEmpty() || !m_loginSessionPath.isEmpty())
        return;
    const bool connected
        = QDBusConnection(m_systemBusName)
              .connect(QLatin1String(kLogindService), path, QLatin1String(kPropertiesInterface),
                  QStringLiteral("PropertiesChanged"), this,
                  SLOT(onSessionPropertiesChanged(QString, QVariantMap, QStringList)));
    if (!connected)
        return;
    m_loginSessionPath = path;
    emit loginSessionWatched(path);
}

void LiveTranslationSessionLockMonitor::onScreenSaverActiveChanged(bool active)
{
    setLocked(active);
}

void LiveTranslationSessionLockMonitor::onSessionPropertiesChanged(
    const QString &interface, const QVariantMap &changed, const QStringList &invalidated)
{
    Q_UNUSED(invalidated)
    if (interface != QLatin1String(kLogindSession))
        return;
    const auto found = changed.constFind(QLatin1String(kLockedHint));
    if (found == changed.constEnd())
        return;
    bool ok = false;
    const bool locked = unwrapBool(found.value(), &ok);
    if (ok)
        setLocked(locked);
}

void LiveTranslationSessionLockMonitor::setLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    if (locked)
        emit sessionLocked();
    else
        emit sessionUnlocked();
}
