#include "channel.hpp"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "wire_codec.hpp"

namespace {
constexpr std::size_t kReadChunkBytes = 64 * 1024;
}

bool writeFully(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd out{fd, POLLOUT, 0};
                if (::poll(&out, 1, -1) < 0 && errno != EINTR)
                    return false;
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

LiveTranslationHelperChannel::LiveTranslationHelperChannel(int inputFd, int outputFd,
                                                           QObject *parent)
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
    stopReading();
    for (int fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void LiveTranslationHelperChannel::startReading()
{
    if (m_reader.joinable() || m_closedReported)
        return;
    m_reader = std::thread([this] { readLoop(); });
}

void LiveTranslationHelperChannel::stopReading()
{
    if (!m_reader.joinable())
        return;
    if (m_wakePipe[1] >= 0) {
        const char byte = 1;
        writeFully(m_wakePipe[1], &byte, 1);
    }
    m_reader.join();
    if (m_wakePipe[0] >= 0) {
        // Drain the wake-up byte so that a later startReading() is not woken at once.
        std::array<char, 16> sink{};
        const int flags = ::fcntl(m_wakePipe[0], F_GETFL);
        ::fcntl(m_wakePipe[0], F_SETFL, flags | O_NONBLOCK);
        while (::read(m_wakePipe[0], sink.data(), sink.size()) > 0) {
        }
        ::fcntl(m_wakePipe[0], F_SETFL, flags);
    }
}

void LiveTranslationHelperChannel::readLoop()
{
    std::string buffer(kReadChunkBytes, '\0');
    for (;;) {
        std::array<pollfd, 2> fds{{{m_inputFd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}}};
        const int ready = ::poll(fds.data(), m_wakePipe[0] >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break; // treated as end of input below
        }
        if (fds[1].revents != 0)
            return; // asked to stop: no end-of-file report
        if (fds[0].revents == 0)
            continue;
        const ssize_t count = ::read(m_inputFd, buffer.data(), buffer.size());
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        std::string chunk = count > 0 ? buffer.substr(0, static_cast<std::size_t>(count))
                                      : std::string();
        // Queued calls to this object are dropped if it is destroyed first, and they keep order.
        QMetaObject::invokeMethod(
            this, [this, chunk = std::move(chunk)] { handleChunk(chunk); }, Qt::QueuedConnection);
        if (count <= 0)
            return;
    }
    QMetaObject::invokeMethod(
        this, [this] { handleChunk({}); }, Qt::QueuedConnection);
}

void LiveTranslationHelperChannel::handleChunk(const std::string &chunk)
{
    if (chunk.empty()) {
        if (m_closedReported)
            return;
        m_closedReported = true;
        stopReading();
        if (m_hostClosed)
            m_hostClosed();
        return;
    }
    for (const auto &message : m_decoder.append(chunk)) {
        if (m_receive)
            m_receive(message);
    }
}

void LiveTranslationHelperChannel::send(const LiveTranslationHelperCommand &command)
{
    std::string line = encodeCommand(command);
    if (line.empty())
        return;
    line.push_back('\n');
    writeFully(m_outputFd, line.data(), line.size());
}
