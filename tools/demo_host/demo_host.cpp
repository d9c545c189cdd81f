#include "demo_host.hpp"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "demo_catalog.hpp"
#include "helper_link.hpp"
#include "line_decoder.hpp"
#include "wire_codec.hpp"

namespace {

using HostKind = LiveTranslationHelperHostMessage::Kind;

// The longest line the helper decodes, its line feed not counted.
constexpr qsizetype kMaxSnapshotLineBytes
    = qsizetype(LiveTranslationHelperLineDecoder::kMaxLineBytes);
constexpr int kMalformedKinds = 7;
constexpr int kTerminateGraceMs = 5000;

QByteArray toBytes(const std::string &text)
{
    return QByteArray::fromStdString(text);
}

QString describe(const LiveTranslationHelperCommand &command)
{
    QString text = QString::fromLatin1(wireName(command.kind));
    if (command.carriesString())
        text += QLatin1Char(' ') + QString::fromStdString(command.stringValue);
    if (command.carriesBool())
        text += command.boolValue ? QLatin1String(" true") : QLatin1String(" false");
    return text;
}

} // namespace

DemoHost::DemoHost(DemoOptions options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_hostDecoder(std::make_unique<WireDecoder>())
{
    m_clock.start();
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_tickTimer, &QTimer::timeout, this, &DemoHost::tick);
    connect(&m_malformedTimer, &QTimer::timeout, this, &DemoHost::sendMalformed);
    m_durationTimer.setSingleShot(true);
    connect(&m_durationTimer, &QTimer::timeout, this,
        [this] { shutdown(QStringLiteral("the set duration is over")); });
    m_replayTimer.setSingleShot(true);
    connect(&m_replayTimer, &QTimer::timeout, this, &DemoHost::playReplay);
    m_killTimer.setSingleShot(true);
    connect(&m_killTimer, &QTimer::timeout, this, [this] {
        log(QStringLiteral("the helper did not end within %1 s of terminate; killing it")
                .arg(kTerminateGraceMs / 1000));
        m_link->kill();
        finish(kExitHelperFailed);
    });
}

DemoHost::~DemoHost() = default;

double DemoHost::now() const
{
    return double(m_clock.nsecsElapsed()) / 1e9;
}

void DemoHost::log(const QString &text) const
{
    if (m_options.quiet)
        return;
    std::fprintf(stderr, "demo [%7.2f s] %s\n", now(), qPrintable(text));
}

void DemoHost::start()
{
    if (!m_options.recordPath.isEmpty()) {
        QString error;
        if (!m_record.open(m_options.recordPath, &error)) {
            std::fprintf(stderr, "demo: cannot write %s: %s\n", qPrintable(m_options.recordPath),
                qPrintable(error));
            finish(kExitUsage);
            return;
        }
    }
    if (!m_options.replayPath.isEmpty()) {
        QString error;
        auto entries = readReplay(m_options.replayPath, 1.0 / m_options.rate, &error);
        if (!entries) {
            std::fprintf(stderr, "demo: cannot read %s: %s\n", qPrintable(m_options.replayPath),
                qPrintable(error));
            finish(kExitUsage);
            return;
        }
        m_replay = std::move(*entries);
    } else {
        m_options.session.audioSources
            = demoAudioSources(findDesktopApplications(xdgDataDirs(), 6));
        m_session = std::make_unique<DemoHostSession>(m_options.session, now());
    }

    m_link = new HelperLink(m_options.helperPath, this);
    connect(m_link, &HelperLink::started, this, &DemoHost::onHelperStarted);
    connect(m_link, &HelperLink::failedToStart, this, [this](const QString &reason) {
        std::fprintf(stderr, "demo: cannot start the helper %s: %s\n",
            qPrintable(m_options.helperPath), qPrintable(reason));
        finish(kExitHelperFailed);
    });
    connect(m_link, &HelperLink::finished, this, &DemoHost::onHelperFinished);
    connect(m_link, &HelperLink::commandReceived, this, &DemoHost::onCommand);
    connect(m_link, &HelperLink::lineRead, this, [this](const QByteArray &line) {
        m_record.write({now(), QStringLiteral("helper"), line});
    });
    connect(m_link, &HelperLink::undecodableLine, this,
        [](const QByteArray &line, const QString &reason) {
            // Always shown, even when quiet: this is a fault of the helper.
            std::fprintf(stderr, "demo: the helper wrote a line that is no command (%s): %s\n",
                qPrintable(reason), line.left(200).constData());
        });
    m_link->start();
}

void DemoHost::onHelperStarted()
{
    std::fprintf(stderr, "demo: helper %s started, pid %lld\n", qPrintable(m_options.helperPath),
        static_cast<long long>(m_link->processId()));
    if (m_options.duration > 0)
        m_durationTimer.start(int(m_options.duration * 1000));
    watchConsole();
    if (m_session) {
        log(QStringLiteral("scenario %1; Ctrl+C ends the demo")
                .arg(QLatin1String(scenarioName(m_options.session.scenario))));
        sendSnapshot();
        sendHostMessage(HostKind::show);
        m_tickTimer.start(std::max(1, int(1000.0 / m_options.rate)));
        if (m_options.malformedEvery > 0)
            m_malformedTimer.start(int(m_options.malformedEvery * 1000));
    } else {
        log(QStringLiteral("replaying %1 host lines from %2")
                .arg(m_replay.size())
                .arg(m_options.replayPath));
        m_clock.restart();
        playReplay();
    }
}

void DemoHost::sendLine(const QByteArray &line)
{
    m_bytesSent += line.size() + 1;
    m_link->writeLine(line);
    m_record.write({now(), QStringLiteral("host"), line});
}

void DemoHost::sendHostMessage(HostKind kind)
{
    sendLine(toBytes(encodeHostMessage(LiveTranslationHelperHostMessage::make(kind))));
}

void DemoHost::sendSnapshot()
{
    QByteArray line = toBytes(encodeHostMessage(
        LiveTranslationHelperHostMessage::makeSnapshot(m_session->takeSnapshot())));
    while (line.size() > kMaxSnapshotLineBytes && !m_session->state().committedCards.empty()) {
        // A host must keep its lines within what the helper reads: the oldest cards go first.
        const std::size_t cards = m_session->state().committedCards.size();
        const double share = double(line.size() - kMaxSnapshotLineBytes) / double(line.size());
        m_session->dropOldestCards(std::max<std::size_t>(1, std::size_t(share * cards * 1.1)));
        if (!m_warnedOversize) {
            m_warnedOversize = true;
            log(QStringLiteral("a snapshot grew past the helper's line limit; dropping the "
                               "oldest cards to keep it under %1 bytes")
                    .arg(kMaxSnapshotLineBytes));
        }
        line = toBytes(encodeHostMessage(
            LiveTranslationHelperHostMessage::makeSnapshot(m_session->takeSnapshot())));
    }
    ++m_snapshotsSent;
    sendLine(line);
}

void DemoHost::tick()
{
    if (m_shuttingDown)
        return;
    m_session->advance(now());
    if (m_options.autostart && !m_autostarted && m_session->state().isStartEnabled
        && !m_session->state().isSessionActive) {
        m_autostarted = true;
        log(QStringLiteral("autostart: %1")
                .arg(QString::fromStdString(
                    m_session->handleCommand(LiveTranslationHelperCommand::start(), now()))));
    }
    if (!m_session->hasChanges())
        return;
    // Every snapshot is the whole state, so a helper that is still reading gets the newest one
    // later instead of a queue of old ones.
    if (m_link->pendingBytes() > 0) {
        ++m_snapshotsDeferred;
        return;
    }
    sendSnapshot();
}

void DemoHost::onCommand(const LiveTranslationHelperCommand &command)
{
    ++m_commandsReceived;
    if (!m_session) {
        log(QStringLiteral("command %1 (not answered during a replay)").arg(describe(command)));
        return;
    }
    if (m_shuttingDown) {
        log(QStringLiteral("command %1 after terminate (not answered)").arg(describe(command)));
        return;
    }
    const std::string note = m_session->handleCommand(command, now());
    log(QStringLiteral("command %1: %2").arg(describe(command), QString::fromStdString(note)));
    if (m_session->hasChanges() && m_link->pendingBytes() == 0)
        sendSnapshot();
}

void DemoHost::sendMalformed()
{
    if (m_shuttingDown)
        return;
    ++m_malformedSent;
    const std::uint64_t generation = m_session->generation();
    LiveTranslationHelperSnapshot bait = m_session->state();
    // A bad line that the helper wrongly took would show this and stall on its generation.
    bait.statusMessage = "MALFORMED LINE SHOWN";
    bait.generation = generation + 1000000;
    QByteArray line
        = toBytes(encodeHostMessage(LiveTranslationHelperHostMessage::makeSnapshot(bait)));
    switch (m_malformedKind++ % kMalformedKinds) {
    case 0: line.truncate(line.size() / 2); break; // cut off in the middle
    case 1: line = R"({"type":"sparkle"})"; break;
    case 2:
        line.replace(QByteArray(R"("lifecycle":")"), QByteArray(R"("lifecycle":"dozing","x":")"));
        break;
    case 3:
        line.replace(QByteArray(R"("hasFailure":false)"), QByteArray(R"("hasFailure":"no")"));
        line.replace(QByteArray(R"("hasFailure":true)"), QByteArray(R"("hasFailure":"yes")"));
        break;
    case 4: line = QByteArray(R"({"type":"show","note":")") + "\xff\xfe" + R"("})"; break;
    case 5:
        line.replace(
            QByteArray(R"("generation":)") + QByteArray::number(qulonglong(bait.generation)),
            QByteArray(R"("generation":-1)"));
        break;
    default: {
        // Not malformed but stale: an older generation that the helper must ignore.
        LiveTranslationHelperSnapshot stale = m_session->state();
        stale.statusMessage = "STALE SNAPSHOT SHOWN";
        stale.generation = generation > 0 ? generation - 1 : 0;
        line = toBytes(encodeHostMessage(LiveTranslationHelperHostMessage::makeSnapshot(stale)));
        break;
    }
    }
    sendLine(line);
}

void DemoHost::playReplay()
{
    while (m_replayNext < m_replay.size()) {
        const RecordEntry &entry = m_replay[m_replayNext];
        const double wait = entry.time - now();
        if (wait > 0) {
            m_replayTimer.start(int(wait * 1000));
            return;
        }
        ++m_replayNext;
        sendLine(entry.line);
        const auto message = m_hostDecoder->decodeHostMessage(
            {entry.line.constData(), std::size_t(entry.line.size())});
        if (message && message.value->kind == HostKind::terminate) {
            // The recorded host ended its helper here; the demo ends with it.
            m_shuttingDown = true;
            m_killTimer.start(kTerminateGraceMs);
            log(QStringLiteral("the replay ended the helper"));
            return;
        }
    }
    log(QStringLiteral("replay finished; Ctrl+C ends the demo"));
}

void DemoHost::watchConsole()
{
    if (!::isatty(STDIN_FILENO))
        return;
    m_console = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_console, &QSocketNotifier::activated, this, &DemoHost::readConsole);
}

void DemoHost::readConsole()
{
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        m_console->setEnabled(false);
        return;
    }
    const QString text = QString::fromLocal8Bit(buffer, count).trimmed();
    if (text == QLatin1String("show"))
        sendHostMessage(HostKind::show);
    else if (text == QLatin1String("hide"))
        sendHostMessage(HostKind::hide);
    else if (text == QLatin1String("toggle"))
        sendHostMessage(HostKind::toggle);
    else if (text == QLatin1String("quit") || text == QLatin1String("q"))
        shutdown(QStringLiteral("asked to quit"));
    else if (!text.isEmpty())
        std::fprintf(stderr, "demo: type show, hide, toggle or quit\n");
}

void DemoHost::shutdown(const QString &reason)
{
    if (m_finished)
        return;
    if (m_shuttingDown) {
        // Asked twice (a second Ctrl+C): do not wait any longer.
        m_link->kill();
        finish(kExitHelperFailed);
        return;
    }
    m_shuttingDown = true;
    log(QStringLiteral("ending: %1").arg(reason));
    m_tickTimer.stop();
    m_malformedTimer.stop();
    m_replayTimer.stop();
    if (!m_link || !m_link->isRunning()) {
        finish(kExitHelperFailed);
        return;
    }
    sendHostMessage(HostKind::terminate);
    // Closing its input as well ends a helper that missed the message, as a host's exit would.
    m_link->closeInput();
    m_killTimer.start(kTerminateGraceMs);
}

void DemoHost::onHelperFinished(int exitCode, bool crashed)
{
    if (m_finished)
        return;
    m_killTimer.stop();
    if (crashed) {
        std::fprintf(stderr, "demo: the helper crashed\n");
        finish(kExitHelperFailed);
    } else if (!m_shuttingDown) {
        std::fprintf(stderr, "demo: the helper ended on its own with code %d\n", exitCode);
        finish(kExitHelperFailed);
    } else if (exitCode != 0) {
        std::fprintf(stderr, "demo: the helper ended with code %d\n", exitCode);
        finish(kExitHelperFailed);
    } else {
        finish(m_link->undecodableLines() > 0 ? kExitUndecodable : kExitClean);
    }
}

void DemoHost::finish(int exitCode)
{
    if (m_finished)
        return;
    m_finished = true;
    m_tickTimer.stop();
    m_malformedTimer.stop();
    m_durationTimer.stop();
    m_replayTimer.stop();
    m_killTimer.stop();
    m_record.close();
    printSummary();
    emit finished(exitCode);
}

void DemoHost::printSummary() const
{
    if (!m_link)
        return;
    std::fprintf(stderr,
        "demo: %.1f s; snapshots sent %lld, deferred %lld; malformed lines sent %lld; "
        "%.1f MB written; commands %lld, undecodable lines %lld\n",
        now(), static_cast<long long>(m_snapshotsSent), static_cast<long long>(m_snapshotsDeferred),
        static_cast<long long>(m_malformedSent), double(m_bytesSent) / 1e6,
        static_cast<long long>(m_commandsReceived),
        static_cast<long long>(m_link->undecodableLines()));
}
