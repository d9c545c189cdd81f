#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <thread>

#include <QObject>

#include "line_decoder.hpp"
#include "wire_types.hpp"

class QSocketNotifier;

// Owns the link to the host: reads host messages from one file descriptor (standard input) and
// writes commands to another (standard output), one JSON object per line.
//
// A reader thread waits on the input and hands every chunk it reads to the main thread as a queued
// call, in order; end of file arrives as an empty chunk after all data. Decoding, the callbacks and
// send() run on the main thread only, and never wait for the host: a host that stops reading its
// commands is still heard. To write without waiting, the channel opens an output that is a pipe or
// a terminal anew, with flags of its own, and holds it while it lives.
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

    // Queues one command line for the host and writes what the output takes now, never waiting
    // for it: the rest goes out as the output becomes writable. Beyond kMaxQueuedBytes waiting,
    // whole commands are dropped; write errors (a closed pipe included) drop the queue silently.
    void send(const LiveTranslationHelperCommand &command);
    // Bytes of command lines written to no one yet.
    std::size_t queuedBytes() const { return m_queue.size() - m_queueStart; }

    static constexpr std::size_t kMaxQueuedBytes = std::size_t {1} << 20;

private:
    void readLoop();
    void handleChunk(const std::string &chunk);
    void openOutput(int outputFd);
    // Writes what the output takes of the queue without waiting; false on a write error.
    bool writeQueued();
    void flushQueue();

    int m_inputFd;
    int m_outputFd; // as given
    int m_ownOutputFd = -1; // the same output opened anew, non-blocking, when that could be done
    int m_restoredOutputFlags = -1; // else the flags to give back to the output when done
    bool m_outputIsSocket = false;
    std::string m_queue; // whole command lines, but the first may be partly written
    std::size_t m_queueStart = 0;
    QSocketNotifier *m_outputReady = nullptr; // enabled while the queue holds bytes
    int m_wakePipe[2] = {-1, -1};
    std::thread m_reader;
    std::atomic<bool> m_stopRequested = false;
    LiveTranslationHelperLineDecoder m_decoder;
    // Shared, so that a receiver that replaces itself runs to its end without a copy per message.
    std::shared_ptr<const Receiver> m_receive;
    ClosedHandler m_hostClosed;
    bool m_closedReported = false;
    // The output ends inside a line (a write error cut it); the next command starts a fresh line.
    bool m_outputLineOpen = false;
};

// Writes all of data to fd, looping over partial writes and EINTR. Returns false on any error;
// `written`, when given, receives the number of bytes that did reach fd.
bool writeFully(int fd, const char *data, std::size_t size, std::size_t *written = nullptr);
