#include <csignal>
#include <cstdio>
#include <variant>

#include <QCoreApplication>
#include <QFileInfo>

#include "demo_host.hpp"
#include "demo_options.hpp"
#include "signal_watcher.hpp"

namespace {

constexpr const char *kHelperName = "Tavu_Live_Translate_Helper";

// The helper next to this program (as installed), else the one of the build tree it was built in.
QString defaultHelperPath()
{
    const QString besideUs
        = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kHelperName);
    if (QFileInfo(besideUs).isExecutable())
        return besideUs;
#ifdef TAVU_DEMO_BUILD_HELPER
    if (QFileInfo(QStringLiteral(TAVU_DEMO_BUILD_HELPER)).isExecutable())
        return QStringLiteral(TAVU_DEMO_BUILD_HELPER);
#endif
    return besideUs;
}

} // namespace

int main(int argc, char *argv[])
{
    // A helper that went away must not take the demo with it when we write to its pipe.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavu-demo-host"));

    auto parsed = parseDemoOptions(QCoreApplication::arguments());
    if (auto *error = std::get_if<DemoOptionsError>(&parsed)) {
        std::fprintf(error->exitCode == 0 ? stdout : stderr, "%s\n", qPrintable(error->message));
        return error->exitCode;
    }
    DemoOptions options = std::get<DemoOptions>(std::move(parsed));
    if (options.helperPath.isEmpty())
        options.helperPath = defaultHelperPath();

    SignalWatcher signalWatcher;
    DemoHost host(std::move(options));
    QObject::connect(&signalWatcher, &SignalWatcher::signalled, &host, [&host](int number) {
        host.shutdown(
            number == SIGINT ? QStringLiteral("interrupted") : QStringLiteral("terminated"));
    });
    QObject::connect(
        &host, &DemoHost::finished, &app, [](int code) { QCoreApplication::exit(code); },
        Qt::QueuedConnection);
    host.start();
    return QCoreApplication::exec();
}
