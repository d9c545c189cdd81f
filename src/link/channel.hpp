#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "line_decoder.hpp"
#include "wire_types.hpp"

// Owns the link to the host: reads host messages from one file descriptor (standard input) and
// writes commands to another (standard output), one JSON object per line.
//
// A reader thread waits on the input and hands every chunk it reads to the main thread as a queued
// call, in order; end of file arrives as an empty chunk after all data. Decoding, the callbacks and
// send() run on the main thread only.
class LiveTranslationHelperChannel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationHelperChannel)

public:
    // May take the message's contents (a snapshot, by exchanging it for an older one); what it
    // leaves in the message is reused for later lines.
    using Receiver = std::function<void(LiveTranslationHelperHostMessage &)>;
    using ClosedHandler = std::function<void()>;

    explicit LiveTranslationHelperChannel(
        int inputFd = 0, int outputFd = 1, QObject *parent = nullptr);
    ~LiveTranslationHelperChannel() override;

    void setReceiver(Receiver receiver);
    void setHostClosedHandler(ClosedHandler handler) { m_hostClosed = std::move(handler); }

    // Starts the reader thread; reading goes on until end of file or stopReading().
    void startReading();
    // Wakes and joins the reader thread. Chunks already handed over are still delivered.
    void stopReading();
    bool isReading() const { return m_reader.joinable(); }

    // Writes one command line; errors (a closed pipe included) drop the command silently.
    void send(const LiveTranslationHelperCommand &command);

    LiveTranslationHelperLineDecoder &lineDecoder() { return m_decoder; }

private:
    void readLoop();
    void handleChunk(const std::string &chunk);

    int m_inputFd;
    int m_outputFd;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_reader;
    std::atomic<bool> m_stopRequested = false;
    LiveTranslationHelperLineDecoder m_decoder;
    // Shared, so that a receiver that replaces itself runs to its end without a copy per message.
    std::shared_ptr<const Receiver> m_receive;
    ClosedHandler m_hostClosed;
    bool m_closedReported = false;
    // A failed write left part of a line on the output; the next command starts a fresh line.
    bool m_outputLineOpen = false;
};

// Writes all of data to fd, looping over partial writes and EINTR. Returns false on any error;
// `written`, when given, receives the number of bytes that did reach fd.
bool writeFully(int fd, const char *data, std::size_t size, std::size_t *written = nullptr);
