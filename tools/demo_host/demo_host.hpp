#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "demo_options.hpp"
#include "demo_record.hpp"
#include "demo_session.hpp"

class HelperLink;
class QSocketNotifier;
class WireDecoder;

// Runs the demo: starts the helper, plays the host's side of a session (or a replay) into it,
// answers its commands, and ends it cleanly. Emits finished with the program's exit code.
class DemoHost final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DemoHost)

public:
    // Exit codes.
    static constexpr int kExitClean = 0;
    static constexpr int kExitHelperFailed = 1; // did not start, crashed, left early or hung
    static constexpr int kExitUsage = 2;
    static constexpr int kExitUndecodable = 3; // the helper wrote a line that is not a command

    explicit DemoHost(DemoOptions options, QObject *parent = nullptr);
    ~DemoHost() override;

    void start();
    // Ends the helper with "terminate" and then the demo.
    void shutdown(const QString &reason);

signals:
    void finished(int exitCode);

private:
    double now() const;
    void log(const QString &text) const;
    void onHelperStarted();
    void onHelperFinished(int exitCode, bool crashed);
    void onCommand(const LiveTranslationHelperCommand &command);
    void tick();
    void sendSnapshot();
    void sendHostMessage(LiveTranslationHelperHostMessage::Kind kind);
    void sendLine(const QByteArray &line);
    void sendMalformed();
    void playReplay();
    void watchConsole();
    void readConsole();
    void finish(int exitCode);
    void printSummary() const;

    DemoOptions m_options;
    QElapsedTimer m_clock;
    HelperLink *m_link = nullptr;
    std::unique_ptr<DemoHostSession> m_session;
    std::unique_ptr<WireDecoder> m_hostDecoder; // recognises "terminate" in a replay
    RecordWriter m_record;
    QTimer m_tickTimer;
    QTimer m_malformedTimer;
    QTimer m_durationTimer;
    QTimer m_replayTimer;
    QTimer m_killTimer;
    QSocketNotifier *m_console = nullptr;
    std::vector<RecordEntry> m_replay;
    std::size_t m_replayNext = 0;
    bool m_autostarted = false;
    bool m_shuttingDown = false;
    bool m_finished = false;
    bool m_warnedOversize = false;
    int m_malformedKind = 0;
    qint64 m_snapshotsSent = 0;
    qint64 m_snapshotsDeferred = 0;
    qint64 m_malformedSent = 0;
    qint64 m_commandsReceived = 0;
    qint64 m_bytesSent = 0;
};
