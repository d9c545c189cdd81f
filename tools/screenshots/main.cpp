// Writes screenshots of the panel: one PNG per scene and colour scheme.
//   tavu_screenshots [--out DIR] [--scale N] [--scheme light|dark|both] [--only TEXT]
//                    [--language CODE] [--list]
// --language shows the panel's fixed texts in that language (de, es, fr, ja); the file names then
// end in -CODE.
#include <cstdio>
#include <cstring>
#include <string>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWidget>

#include "common/localization.hpp"
#include "model.hpp"
#include "root_view.hpp"
#include "scenes.hpp"

namespace {

constexpr int kPanelWidth = 520;
constexpr int kPanelHeight = 760;

struct Options {
    QString outDir = QStringLiteral(".");
    QByteArray scale = "1";
    QString scheme = QStringLiteral("both");
    QString only;
    QString language;
    bool list = false;
};

// Read before the application exists: the scale factor must be in the environment by then.
bool parse(int argc, char **argv, Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--list") == 0) {
            options.list = true;
        } else if (std::strcmp(arg, "--out") == 0 && hasValue) {
            options.outDir = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--scale") == 0 && hasValue) {
            options.scale = argv[++i];
        } else if (std::strcmp(arg, "--scheme") == 0 && hasValue) {
            options.scheme = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--only") == 0 && hasValue) {
            options.only = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--language") == 0 && hasValue) {
            options.language = QString::fromLocal8Bit(argv[++i]);
        } else {
            std::fprintf(stderr,
                "usage: %s [--out DIR] [--scale N] [--scheme light|dark|both] "
                "[--only TEXT] [--language CODE] [--list]\n",
                argv[0]);
            return false;
        }
    }
    bool ok = false;
    if (options.scale.toDouble(&ok) <= 0 || !ok) {
        std::fprintf(stderr, "--scale takes a positive number\n");
        return false;
    }
    return true;
}

bool shoot(const Scene &scene, LiveTranslationColorScheme scheme, const Options &options)
{
    QWidget window;
    window.resize(kPanelWidth, kPanelHeight);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    LiveTranslationHelperModel model;
    auto *view = new LiveTranslationHelperView(&model, &window);
    layout->addWidget(view);
    view->setColorScheme(scheme);
    model.applySnapshot(scene.snapshot);
    window.show();
    QApplication::processEvents();
    if (scene.prepare)
        scene.prepare(*view, model);
    QApplication::processEvents();

    QWidget *target = scene.grabTarget ? scene.grabTarget(*view) : &window;
    const QPixmap pixmap = target->grab();
    const QString language = options.language.isEmpty() ? QString() : u'-' + options.language;
    const QString name
        = QStringLiteral("%1-%2%3@%4x.png")
              .arg(scene.name, scheme == LiveTranslationColorScheme::dark ? "dark" : "light",
                  language, QString::fromLatin1(options.scale));
    const QString path = QDir(options.outDir).filePath(name);
    if (!pixmap.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), pixmap.width(), pixmap.height());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parse(argc, argv, options))
        return 2;
    qputenv("QT_SCALE_FACTOR", options.scale);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!options.language.isEmpty()
        && installPanelTranslations(QLocale(options.language)).isEmpty()) {
        std::fprintf(stderr, "no translation for %s; there are: %s\n", qPrintable(options.language),
            qPrintable(panelTranslationLanguages().join(u' ')));
        return 2;
    }

    if (options.list) {
        for (const Scene &scene : sceneRegistry())
            std::printf("%s\n", qPrintable(scene.name));
        return 0;
    }
    QDir().mkpath(options.outDir);
    std::vector<LiveTranslationColorScheme> schemes;
    if (options.scheme != QLatin1String("dark"))
        schemes.push_back(LiveTranslationColorScheme::light);
    if (options.scheme != QLatin1String("light"))
        schemes.push_back(LiveTranslationColorScheme::dark);

    bool ok = true;
    for (const Scene &scene : sceneRegistry()) {
        if (!options.only.isEmpty() && !scene.name.contains(options.only))
            continue;
        for (const auto scheme : schemes)
            ok = shoot(scene, scheme, options) && ok;
    }
    return ok ? 0 : 1;
}
