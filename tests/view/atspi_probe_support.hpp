#pragma once

// What the view probes of the AT-SPI tests share: the panel's view in a real window, driven by
// scene names read from standard input and answering on standard output, one line each.

#include <QByteArray>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "model.hpp"

class LiveTranslationHelperView;

namespace atspiprobe {

// The snapshot of a scene, by its name, at a generation.
using SceneBuilder = std::function<LiveTranslationHelperSnapshot(
    const QByteArray &name, std::uint64_t generation)>;

// Writes "<what> <value>" as one line on standard output, at once.
void say(const char *what, const char *value);

// The panel's view filling a window titled as the panel.
class ProbeWindow final {
    Q_DISABLE_COPY_MOVE(ProbeWindow)

public:
    explicit ProbeWindow(LiveTranslationHelperModel *model);

    LiveTranslationHelperView *view() const { return m_view; }

    // Applies the scene `first` and shows the window; then applies each scene named on standard
    // input, one a line, answering "applied <scene>" after each. Says "ready" once it reads, and
    // returns the application's exit code when standard input ends.
    int run(const SceneBuilder &scene, const QByteArray &first);

private:
    LiveTranslationHelperModel *m_model;
    QWidget m_window;
    LiveTranslationHelperView *m_view;
};

} // namespace atspiprobe
