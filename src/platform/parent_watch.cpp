#include "parent_watch.hpp"

#include <csignal>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {

int openProcessFd(pid_t process)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, process, 0));
#else
    (void)process;
    return -1;
#endif
}

} // namespace

LiveTranslationParentWatch::LiveTranslationParentWatch(pid_t process, QObject *parent)
    : QObject(parent)
{
    watch(process);
}

std::unique_ptr<LiveTranslationParentWatch> LiveTranslationParentWatch::ofParent(
    pid_t parentAtStart)
{
    auto watch = std::make_unique<LiveTranslationParentWatch>(parentAtStart);
    // Checked after the descriptor is open: from here on an exit makes it readable.
    if (::getppid() != parentAtStart)
        QMetaObject::invokeMethod(
            watch.get(), &LiveTranslationParentWatch::report, Qt::QueuedConnection);
    return watch;
}

LiveTranslationParentWatch::~LiveTranslationParentWatch()
{
    delete m_notifier;
    if (m_pidFd >= 0)
        ::close(m_pidFd);
}

void LiveTranslationParentWatch::watch(pid_t process)
{
    m_pidFd = openProcessFd(process);
    if (m_pidFd < 0) {
        // Tied to the thread that started us rather than to the process, hence only a fallback.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        return;
    }
    // A process descriptor (close-on-exec by birth) becomes readable once the process exits.
    m_notifier = new QSocketNotifier(m_pidFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LiveTranslationParentWatch::onReadable);
}

void LiveTranslationParentWatch::onReadable()
{
    m_notifier->setEnabled(false);
    report();
}

void LiveTranslationParentWatch::report()
{
    if (m_reported)
        return;
    m_reported = true;
    emit parentExited();
}
