#pragma once

#include <memory>
#include <sys/types.h>

#include <QObject>

class QSocketNotifier;

// Tells when the process that started this one has exited, so that the helper never stays
// behind as an orphan even if the host dies without closing its end of standard input.
//
// It waits on a process file descriptor of the parent (no polling, no timer). Where the kernel
// offers none, it asks to be sent SIGTERM when the parent exits instead.
class LiveTranslationParentWatch final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationParentWatch)

public:
    // Watches the given process.
    explicit LiveTranslationParentWatch(pid_t process, QObject *parent = nullptr);
    // Watches this process's parent, read as early as possible at start. A parent that is no
    // longer the parent once the watch is set up has exited already (another process, init or a
    // subreaper, adopted this one): that is reported at once instead of watching the adopter.
    static std::unique_ptr<LiveTranslationParentWatch> ofParent(pid_t parentAtStart);
    ~LiveTranslationParentWatch() override;

    // Whether exits are seen through a process descriptor (false: the SIGTERM fallback).
    bool isWatching() const { return m_pidFd >= 0; }

signals:
    void parentExited();

private:
    void watch(pid_t process);
    void onReadable();
    void report();

    int m_pidFd = -1;
    QSocketNotifier *m_notifier = nullptr;
    bool m_reported = false;
};
