#include "atspi_probe_support.hpp"

#include <QApplication>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <cstdio>
#include <unistd.h>

#include "root_view.hpp"

namespace atspiprobe {

namespace {

constexpr int kWindowWidth = 520;
constexpr int kWindowHeight = 760;
constexpr int kReadChunk = 256;

} // namespace

void say(const char *what, const char *value)
{
    std::printf("%s %s\n", what, value);
    std::fflush(stdout);
}

ProbeWindow::ProbeWindow(LiveTranslationHelperModel *model)
    : m_model(model)
    , m_view(new LiveTranslationHelperView(model, &m_window))
{
    m_window.setWindowTitle(QStringLiteral("Live Translate"));
    m_window.resize(kWindowWidth, kWindowHeight);
    auto *layout = new QVBoxLayout(&m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

int ProbeWindow::run(const SceneBuilder &scene, const QByteArray &first)
{
    std::uint64_t generation = 0;
    m_model->applySnapshot(scene(first, ++generation));
    m_window.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[kReadChunk];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            m_model->applySnapshot(scene(line, ++generation));
            say("applied", line.constData());
        }
    });
    std::puts("ready");
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace atspiprobe
