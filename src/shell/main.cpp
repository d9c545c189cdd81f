#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QStyleFactory>

#include "app_delegate.hpp"
#include "common/localization.hpp"
#include "parent_watch.hpp"

namespace {

// Without a platform named on the command line or in the environment, X11 comes first (Wayland
// gives clients no way to stay above other windows; XWayland does) and Wayland after it.
void preferX11(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return;
    }
    const char *named = std::getenv("QT_QPA_PLATFORM");
    if (named == nullptr || *named == '\0')
        ::setenv("QT_QPA_PLATFORM", "xcb;wayland", 1);
}

// A host may start us with a standard stream closed. Its number must not go to the next file
// opened (the X connection, say), or commands would be written into that.
void openClosedStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY); // takes the lowest: fd
    }
}

// Standard output carries command lines and nothing else: the channel writes to a private copy
// of it, and whatever else a library prints to standard output goes to standard error instead.
int reserveCommandOutput()
{
    const int commands = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (commands < 0)
        return STDOUT_FILENO;
    if (::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            ::dup2(null, STDOUT_FILENO);
            ::close(null);
        }
    }
    return commands;
}

} // namespace

int main(int argc, char **argv)
{
    // The host, read before anything else: the later it is read, the likelier a host that already
    // exited has been replaced by whichever process adopted the helper.
    const pid_t host = ::getppid();
    // A host that closed its end of our standard output must not kill us: the write fails instead.
    ::signal(SIGPIPE, SIG_IGN);
    openClosedStandardStreams();
    preferX11(argc, argv);
    const int commandFd = reserveCommandOutput();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavu_Live_Translate_Helper"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The panel is only ever hidden; the host, or the end of its input, ends the process.
    app.setQuitOnLastWindowClosed(false);
    // The panel's fixed texts follow the user's language; whatever the host sends is shown as is.
    installPanelTranslations();

    LiveTranslationHelperAppDelegate::Options options;
    options.inputFd = STDIN_FILENO;
    options.outputFd = commandFd;
    LiveTranslationHelperAppDelegate delegate(options);
    const auto parentWatch = LiveTranslationParentWatch::ofParent(host);
    // exit(0), not quit(): quit() first asks every window to close, and the panel's close
    // button would tell the host "hide" on the way out.
    const auto end = [] { QCoreApplication::exit(0); };
    QObject::connect(&delegate, &LiveTranslationHelperAppDelegate::terminateRequested, &app, end,
        Qt::QueuedConnection);
    QObject::connect(parentWatch.get(), &LiveTranslationParentWatch::parentExited, &app, end,
        Qt::QueuedConnection);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
        &LiveTranslationHelperAppDelegate::applicationWillTerminate);

    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
