#include "channel.hpp"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>

#include "wire_codec.hpp"

namespace {
constexpr std::size_t kReadChunkBytes = std::size_t {64} * 1024;
// Only when no wake-up pipe could be made: how often the reader looks for a stop request.
constexpr int kFallbackPollMilliseconds = 100;
// Storage an emptied queue keeps for the next commands; a larger one is freed.
constexpr std::size_t kKeptQueueBytes = std::size_t {64} * 1024;
} // namespace

bool writeFully(int fd, const char *data, std::size_t size, std::size_t *written)
{
    std::size_t done = 0;
    const auto finish = [&](bool ok) {
        if (written != nullptr)
            *written = done;
        return ok;
    };
    while (done < size) {
        const ssize_t count = ::write(fd, data + done, size - done);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd out {fd, POLLOUT, 0};
                if (::poll(&out, 1, -1) < 0 && errno != EINTR)
                    return finish(false);
                continue;
            }
            return finish(false);
        }
        done += static_cast<std::size_t>(count);
    }
    return finish(true);
}

LiveTranslationHelperChannel::LiveTranslationHelperChannel(
    int inputFd, int outputFd, QObject *parent)
    : QObject(parent)
    , m_inputFd(inputFd)
    , m_outputFd(outputFd)
{
    if (::pipe2(m_wakePipe, O_CLOEXEC) != 0) {
        m_wakePipe[0] = -1;
        m_wakePipe[1] = -1;
    }
    openOutput(outputFd);
}

void LiveTranslationHelperChannel::openOutput(int outputFd)
{
    struct stat status = {};
    if (::fstat(outputFd, &status) != 0 || S_ISREG(status.st_mode) || S_ISBLK(status.st_mode))
        return; // a file takes each write whole
    if (S_ISSOCK(status.st_mode)) {
        m_outputIsSocket = true; // written with MSG_DONTWAIT: its flags stay as they are
        return;
    }
    // A pipe or a terminal is opened anew, so that writing without waiting leaves the flags of
    // the description we share with the host (or a shell) alone.
    const std::string path = "/proc/self/fd/" + std::to_string(outputFd);
    m_ownOutputFd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_ownOutputFd >= 0)
        return;
    const int flags = ::fcntl(outputFd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK) == 0
        && ::fcntl(outputFd, F_SETFL, flags | O_NONBLOCK) == 0)
        m_restoredOutputFlags = flags;
}

LiveTranslationHelperChannel::~LiveTranslationHelperChannel()
{
    // Joined before the object goes: the reader never posts to a destroyed channel, and chunks
    // it already posted are discarded with the object's pending events.
    stopReading();
    for (int fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
    }
    // Commands still queued are dropped: ending never waits for the host.
    delete m_outputReady;
    if (m_ownOutputFd >= 0)
        ::close(m_ownOutputFd);
    if (m_restoredOutputFlags >= 0)
        ::fcntl(m_outputFd, F_SETFL, m_restoredOutputFlags);
}

void LiveTranslationHelperChannel::setReceiver(Receiver receiver)
{
    m_receive = receiver ? std::make_shared<const Receiver>(std::move(receiver)) : nullptr;
}

void LiveTranslationHelperChannel::startReading()
{
    if (m_reader.joinable() || m_closedReported)
        return;
    m_stopRequested = false;
    m_reader = std::thread([this] { readLoop(); });
}

void LiveTranslationHelperChannel::stopReading()
{
    if (!m_reader.joinable())
        return;
    m_stopRequested = true;
    if (m_wakePipe[1] >= 0) {
        const char byte = 1;
        writeFully(m_wakePipe[1], &byte, 1);
    }
    m_reader.join();
    if (m_wakePipe[0] >= 0) {
        // Drain the wake-up byte so that a later startReading() is not woken at once.
        std::array<char, 16> sink {};
        const int flags = ::fcntl(m_wakePipe[0], F_GETFL);
        ::fcntl(m_wakePipe[0], F_SETFL, flags | O_NONBLOCK);
        while (::read(m_wakePipe[0], sink.data(), sink.size()) > 0) { }
        ::fcntl(m_wakePipe[0], F_SETFL, flags);
    }
}

void LiveTranslationHelperChannel::readLoop()
{
    std::string buffer(kReadChunkBytes, '\0');
    const bool canWake = m_wakePipe[0] >= 0;
    for (;;) {
        std::array<pollfd, 2> fds {{{m_inputFd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}}};
        const int ready
            = ::poll(fds.data(), canWake ? 2 : 1, canWake ? -1 : kFallbackPollMilliseconds);
        if (m_stopRequested)
            return; // asked to stop: no end-of-file report
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break; // the input cannot be watched: reported as end of input below
        }
        if (fds[0].revents == 0)
            continue;
        const ssize_t count = ::read(m_inputFd, buffer.data(), buffer.size());
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (count <= 0)
            break; // end of file, or a read error that ends the input just the same
        std::string chunk = buffer.substr(0, static_cast<std::size_t>(count));
        // Queued calls to one object keep their order, and are dropped if it is destroyed first.
        QMetaObject::invokeMethod(
            this, [this, chunk = std::move(chunk)] { handleChunk(chunk); }, Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(
        this, [this] { handleChunk({}); }, Qt::QueuedConnection);
}

void LiveTranslationHelperChannel::handleChunk(const std::string &chunk)
{
    // A callback may replace itself or destroy the channel: call copies, and stop once it is gone.
    const QPointer<LiveTranslationHelperChannel> alive(this);
    if (chunk.empty()) {
        if (m_closedReported)
            return;
        m_closedReported = true;
        stopReading();
        const ClosedHandler hostClosed = m_hostClosed;
        if (hostClosed)
            hostClosed();
        return;
    }
    std::vector<LiveTranslationHelperHostMessage> messages = m_decoder.append(chunk);
    for (LiveTranslationHelperHostMessage &message : messages) {
        const std::shared_ptr<const Receiver> receive = m_receive;
        if (receive)
            (*receive)(message);
        if (alive.isNull())
            return; // the messages are freed with this frame; the decoder is gone
    }
    // What the receiver left (an older snapshot it exchanged) is storage for the next lines.
    m_decoder.recycle(std::move(messages));
}

void LiveTranslationHelperChannel::send(const LiveTranslationHelperCommand &command)
{
    std::string line = encodeCommand(command);
    if (line.empty())
        return;
    line.push_back('\n');
    if (queuedBytes() > 0) {
        // Whole commands or none: the host only ever reads complete lines.
        if (queuedBytes() + line.size() <= kMaxQueuedBytes)
            m_queue += line;
        return;
    }
    m_queue.clear();
    m_queueStart = 0;
    if (m_outputLineOpen)
        m_queue.push_back('\n');
    m_queue += line;
    flushQueue();
}

bool LiveTranslationHelperChannel::writeQueued()
{
    const int fd = m_ownOutputFd >= 0 ? m_ownOutputFd : m_outputFd;
    while (queuedBytes() > 0) {
        const char *data = m_queue.data() + m_queueStart;
        const ssize_t count = m_outputIsSocket
            ? ::send(fd, data, queuedBytes(), MSG_DONTWAIT | MSG_NOSIGNAL)
            : ::write(fd, data, queuedBytes());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK;
        if (count == 0)
            return true;
        m_queueStart += static_cast<std::size_t>(count);
        m_outputLineOpen = m_queue[m_queueStart - 1] != '\n';
    }
    return true;
}

void LiveTranslationHelperChannel::flushQueue()
{
    if (!writeQueued() || queuedBytes() == 0) {
        // All written, or a write error (the host closed the pipe): nothing waits any more.
        if (m_queue.capacity() > kKeptQueueBytes)
            m_queue = std::string();
        m_queue.clear();
        m_queueStart = 0;
        if (m_outputReady != nullptr)
            m_outputReady->setEnabled(false);
        return;
    }
    if (m_queueStart > m_queue.size() / 2) {
        m_queue.erase(0, m_queueStart);
        m_queueStart = 0;
    }
    if (m_outputReady == nullptr) {
        m_outputReady = new QSocketNotifier(
            m_ownOutputFd >= 0 ? m_ownOutputFd : m_outputFd, QSocketNotifier::Write, this);
        connect(m_outputReady, &QSocketNotifier::activated, this,
            &LiveTranslationHelperChannel::flushQueue);
    }
    m_outputReady->setEnabled(true);
}
