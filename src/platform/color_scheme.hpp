#pragma once

#include <optional>

#include <QObject>
#include <QString>

#include "appearance.hpp"

class QDBusMessage;
class QDBusServiceWatcher;

// Decides whether the panel is light or dark, and whether it should animate.
//
// A snapshot's appearance forces light or dark; otherwise the system decides: the XDG desktop
// portal's "org.freedesktop.appearance" "color-scheme" (1 prefers dark, 2 prefers light), live
// through its SettingChanged signal, else the lightness of the application palette the desktop
// gave at start. Reduce motion comes from the portal's "org.gnome.desktop.interface"
// "enable-animations" being false. All portal calls are asynchronous: nothing here blocks.
class LiveTranslationColorSchemeController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationColorSchemeController)

public:
    // sessionBusAddress: empty for the standard session bus.
    explicit LiveTranslationColorSchemeController(QObject *parent = nullptr);
    explicit LiveTranslationColorSchemeController(
        const QString &sessionBusAddress, QObject *parent = nullptr);
    ~LiveTranslationColorSchemeController() override;

    void setAppearance(LiveTranslationAppearance appearance);
    LiveTranslationAppearance appearance() const { return m_appearance; }

    LiveTranslationColorScheme effectiveScheme() const { return m_effective; }
    bool reduceMotion() const { return m_reduceMotion; }

signals:
    void schemeChanged(LiveTranslationColorScheme scheme);
    void reduceMotionChanged(bool reduceMotion);

private:
    // A slot by name: QtDBus connects the portal's SettingChanged to it.
    Q_SLOT void onSettingChanged(const QDBusMessage &message);
    void watchPortal();
    void readSetting(const QString &group, const QString &key, bool readOne);
    void applySetting(const QString &group, const QString &key, const QVariant &value);
    void update();

    QString m_busName;
    bool m_privateConnection = false;
    QDBusServiceWatcher *m_portalWatcher = nullptr;
    LiveTranslationAppearance m_appearance = LiveTranslationAppearance::system;
    LiveTranslationColorScheme m_paletteScheme = LiveTranslationColorScheme::light;
    std::optional<LiveTranslationColorScheme> m_portalScheme;
    LiveTranslationColorScheme m_effective = LiveTranslationColorScheme::light;
    bool m_reduceMotion = false;
    // Bumped by every SettingChanged, so that a slower read's older answer is not applied.
    unsigned m_schemeChanges = 0;
    unsigned m_motionChanges = 0;
};
