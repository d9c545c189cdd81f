#include "channel.hpp"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QPointer>

#include "wire_codec.hpp"

namespace {
constexpr std::size_t kReadChunkBytes = std::size_t {64} * 1024;
// Only when no wake-up pipe could be made: how often the reader looks for a stop request.
constexpr int kFallbackPollMilliseconds = 100;
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
    if (m_outputLineOpen)
        line.insert(line.begin(), '\n');
    line.push_back('\n');
    std::size_t written = 0;
    if (writeFully(m_outputFd, line.data(), line.size(), &written))
        m_outputLineOpen = false;
    else if (written > 0)
        m_outputLineOpen = true;
}
