#include "color_scheme.hpp"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>

namespace {

constexpr auto kPortalService = "org.freedesktop.portal.Desktop";
constexpr auto kPortalPath = "/org/freedesktop/portal/desktop";
constexpr auto kSettingsInterface = "org.freedesktop.portal.Settings";
constexpr auto kAppearanceGroup = "org.freedesktop.appearance";
constexpr auto kColorSchemeKey = "color-scheme";
constexpr auto kInterfaceGroup = "org.gnome.desktop.interface";
constexpr auto kAnimationsKey = "enable-animations";

// The portal's values for color-scheme.
constexpr uint kPrefersDark = 1;
constexpr uint kPrefersLight = 2;

// Read() of older portals wraps the value in one more variant than ReadOne() does.
QVariant unwrap(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

LiveTranslationColorScheme schemeOfPalette(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness()
            < palette.color(QPalette::WindowText).lightness()
        ? LiveTranslationColorScheme::dark
        : LiveTranslationColorScheme::light;
}

bool isColorScheme(const QString &group, const QString &key)
{
    return group == QLatin1String(kAppearanceGroup) && key == QLatin1String(kColorSchemeKey);
}

bool isAnimations(const QString &group, const QString &key)
{
    return group == QLatin1String(kInterfaceGroup) && key == QLatin1String(kAnimationsKey);
}

} // namespace

LiveTranslationColorSchemeController::LiveTranslationColorSchemeController(QObject *parent)
    : LiveTranslationColorSchemeController(QString(), parent)
{
}

LiveTranslationColorSchemeController::LiveTranslationColorSchemeController(
    const QString &sessionBusAddress, QObject *parent)
    : QObject(parent)
{
    // The desktop's own palette, taken before anyone replaces it with a light or dark one.
    if (qGuiApp)
        m_paletteScheme = schemeOfPalette(QGuiApplication::palette());
    m_effective = m_paletteScheme;

    if (sessionBusAddress.isEmpty()) {
        m_busName = QDBusConnection::sessionBus().name();
    } else {
        m_busName = QStringLiteral("tavu-color-scheme-%1").arg(reinterpret_cast<quintptr>(this));
        QDBusConnection::connectToBus(sessionBusAddress, m_busName);
        m_privateConnection = true;
    }
    watchPortal();
}

LiveTranslationColorSchemeController::~LiveTranslationColorSchemeController()
{
    QDBusConnection bus(m_busName);
    bus.disconnect(QLatin1String(kPortalService), QLatin1String(kPortalPath),
        QLatin1String(kSettingsInterface), QStringLiteral("SettingChanged"), this,
        SLOT(onSettingChanged(QDBusMessage)));
    if (m_privateConnection)
        QDBusConnection::disconnectFromBus(m_busName);
}

void LiveTranslationColorSchemeController::setAppearance(LiveTranslationAppearance appearance)
{
    m_appearance = appearance;
    update();
}

void LiveTranslationColorSchemeController::watchPortal()
{
    QDBusConnection bus(m_busName);
    if (!bus.isConnected())
        return;
    bus.connect(QLatin1String(kPortalService), QLatin1String(kPortalPath),
        QLatin1String(kSettingsInterface), QStringLiteral("SettingChanged"), this,
        SLOT(onSettingChanged(QDBusMessage)));
    // A portal that starts (or restarts) later is read again.
    m_portalWatcher = new QDBusServiceWatcher(
        QLatin1String(kPortalService), bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(m_portalWatcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        readSetting(QLatin1String(kAppearanceGroup), QLatin1String(kColorSchemeKey), true);
        readSetting(QLatin1String(kInterfaceGroup), QLatin1String(kAnimationsKey), true);
    });
    readSetting(QLatin1String(kAppearanceGroup), QLatin1String(kColorSchemeKey), true);
    readSetting(QLatin1String(kInterfaceGroup), QLatin1String(kAnimationsKey), true);
}

void LiveTranslationColorSchemeController::readSetting(
    const QString &group, const QString &key, bool readOne)
{
    QDBusConnection bus(m_busName);
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kPortalService),
        QLatin1String(kPortalPath), QLatin1String(kSettingsInterface),
        readOne ? QStringLiteral("ReadOne") : QStringLiteral("Read"));
    call << group << key;
    const unsigned changesBefore = isColorScheme(group, key) ? m_schemeChanges : m_motionChanges;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, group, key, readOne, changesBefore](QDBusPendingCallWatcher *finished) {
            finished->deleteLater();
            const QDBusPendingReply<QDBusVariant> reply = *finished;
            if (reply.isError()) {
                // Portals before version 2 only know Read.
                if (readOne && reply.error().type() == QDBusError::UnknownMethod)
                    readSetting(group, key, false);
                return;
            }
            const unsigned changesNow
                = isColorScheme(group, key) ? m_schemeChanges : m_motionChanges;
            if (changesNow == changesBefore)
                applySetting(group, key, reply.value().variant());
        });
}

void LiveTranslationColorSchemeController::onSettingChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 3)
        return;
    const QString group = arguments.at(0).toString();
    const QString key = arguments.at(1).toString();
    if (isColorScheme(group, key))
        ++m_schemeChanges;
    else if (isAnimations(group, key))
        ++m_motionChanges;
    applySetting(group, key, arguments.at(2));
}

void LiveTranslationColorSchemeController::applySetting(
    const QString &group, const QString &key, const QVariant &wrapped)
{
    const QVariant value = unwrap(wrapped);
    if (isColorScheme(group, key)) {
        bool ok = false;
        const uint scheme = value.toUInt(&ok);
        if (!ok || (scheme != kPrefersDark && scheme != kPrefersLight))
            m_portalScheme.reset(); // no preference: the desktop's palette decides
        else
            m_portalScheme = scheme == kPrefersDark ? LiveTranslationColorScheme::dark
                                                    : LiveTranslationColorScheme::light;
        update();
    } else if (isAnimations(group, key) && value.userType() == QMetaType::Bool) {
        const bool reduce = !value.toBool();
        if (reduce != m_reduceMotion) {
            m_reduceMotion = reduce;
            emit reduceMotionChanged(reduce);
        }
    }
}

void LiveTranslationColorSchemeController::update()
{
    LiveTranslationColorScheme scheme = m_portalScheme.value_or(m_paletteScheme);
    if (m_appearance == LiveTranslationAppearance::light)
        scheme = LiveTranslationColorScheme::light;
    else if (m_appearance == LiveTranslationAppearance::dark)
        scheme = LiveTranslationColorScheme::dark;
    if (scheme == m_effective)
        return;
    m_effective = scheme;
    emit schemeChanged(scheme);
}
