#pragma once

// Runs fake_desktop.py on the test's private session bus and drives it: each call returns once
// the fake has sent the signal it asks for.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>

class FakeDesktop final {
public:
    explicit FakeDesktop(const QStringList &arguments = {})
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("/usr/bin/python3"),
            QStringList {QStringLiteral(TAVU_FAKE_DESKTOP)} + arguments);
        QByteArray output;
        while (!output.contains("ready\n") && m_process.waitForReadyRead(10000))
            output += m_process.readAllStandardOutput();
        m_ready = output.contains("ready\n"); // checked by every test
    }
    ~FakeDesktop()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    bool ready() const { return m_ready; }
    void setSetting(const QString &group, const QString &key, const QVariant &value)
    {
        control("SetSetting", {group, key, QVariant::fromValue(QDBusVariant(value))});
    }
    void setScreenSaverActive(const QString &path, bool active)
    {
        control("SetScreenSaverActive", {path, active});
    }
    void setLockedHint(bool locked) { control("SetLockedHint", {locked}); }
    static QString busAddress() { return qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"); }

private:
    void control(const char *method, const QVariantList &arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.tavu.FakeDesktop"),
            QStringLiteral("/org/tavu/FakeDesktop"), QStringLiteral("org.tavu.FakeDesktop.Control"),
            QLatin1String(method));
        call.setArguments(arguments);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << qPrintable(reply.errorMessage());
    }

    QProcess m_process;
    bool m_ready = false;
};
