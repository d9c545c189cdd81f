#include "demo_options.hpp"

#include <algorithm>
#include <cmath>

#include <QCommandLineParser>

#include "demo_catalog.hpp"

namespace {

constexpr double kMaxRate = 240;
constexpr std::size_t kDefaultMaxCards = 200;

std::optional<double> positiveNumber(const QString &text, bool allowZero)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || (!allowZero && value == 0))
        return std::nullopt;
    return value;
}

std::optional<std::size_t> count(const QString &text)
{
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    return ok ? std::optional<std::size_t>(value) : std::nullopt;
}

} // namespace

std::variant<DemoOptions, DemoOptionsError> parseDemoOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Starts the Live Translate helper and plays a host for it: languages, audio sources, a\n"
        "session that streams captions, and an answer to every command the panel sends.\n"
        "Ctrl+C ends the helper and the demo. When standard input is a terminal, the lines\n"
        "show, hide, toggle and quit act on the panel."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption helper(QStringLiteral("helper"), "The helper to start.", "path");
    const QCommandLineOption scenario(
        QStringLiteral("scenario"), "normal, limit, reconnect or fallback.", "name", "normal");
    const QCommandLineOption rate(
        QStringLiteral("rate"), "Snapshots per second, at most.", "n", "20");
    const QCommandLineOption maxCards(QStringLiteral("max-cards"),
        "Committed cards kept; older ones go.", "n", QString::number(kDefaultMaxCards));
    const QCommandLineOption backlog(
        QStringLiteral("backlog"), "Cards of an earlier conversation at start.", "n", "0");
    const QCommandLineOption speed(
        QStringLiteral("speed"), "How fast people talk; 1 is natural.", "x", "1");
    const QCommandLineOption source(
        QStringLiteral("source"), "Source language id at start.", "id", "es");
    const QCommandLineOption target(
        QStringLiteral("target"), "Target language id at start.", "id", "en");
    const QCommandLineOption appearance(
        QStringLiteral("appearance"), "system, light or dark.", "mode", "system");
    const QCommandLineOption malformed(QStringLiteral("malformed-every"),
        "Send a malformed line every so many seconds.", "seconds");
    const QCommandLineOption duration(
        QStringLiteral("duration"), "End the demo after so many seconds.", "seconds");
    const QCommandLineOption autostart(
        QStringLiteral("autostart"), "Start a session as soon as one can start.");
    const QCommandLineOption quiet(
        QStringLiteral("quiet"), "Do not print the commands and what the host did.");
    const QCommandLineOption record(
        QStringLiteral("record"), "Write every line both ways, timed, to a file.", "file");
    const QCommandLineOption replay(QStringLiteral("replay"),
        "Play a record's host lines (or a file of host-message lines, "
        "one per 1/rate seconds) into the helper instead of a session.",
        "file");
    const QCommandLineOption seed(QStringLiteral("seed"), "Seed of the demo's chance.", "n", "1");
    parser.addOptions({helper, scenario, rate, maxCards, backlog, speed, source, target, appearance,
        malformed, duration, autostart, quiet, record, replay, seed});

    if (!parser.parse(arguments))
        return DemoOptionsError {parser.errorText()};
    if (parser.isSet(help))
        return DemoOptionsError {parser.helpText(), 0};
    if (!parser.positionalArguments().isEmpty())
        return DemoOptionsError {"unexpected argument: " + parser.positionalArguments().first()};

    DemoOptions options;
    options.helperPath = parser.value(helper);
    const auto chosen = scenarioFromName(parser.value(scenario).toStdString());
    if (!chosen)
        return DemoOptionsError {"unknown scenario: " + parser.value(scenario)};
    options.session.scenario = *chosen;

    const auto rateValue = positiveNumber(parser.value(rate), false);
    if (!rateValue || *rateValue > kMaxRate)
        return DemoOptionsError {"--rate takes a number above 0 and up to 240"};
    options.rate = *rateValue;
    const auto speedValue = positiveNumber(parser.value(speed), false);
    if (!speedValue)
        return DemoOptionsError {"--speed takes a number above 0"};
    options.session.speed = *speedValue;
    const auto maxCardsValue = count(parser.value(maxCards));
    const auto backlogValue = count(parser.value(backlog));
    if (!maxCardsValue || !backlogValue)
        return DemoOptionsError {"--max-cards and --backlog take whole numbers"};
    options.session.maxCards = *maxCardsValue;
    options.session.backlogCards = *backlogValue;
    const auto seedValue = count(parser.value(seed));
    if (!seedValue)
        return DemoOptionsError {"--seed takes a whole number"};
    options.session.seed = std::uint32_t(*seedValue);
    options.session.sourceLanguage = parser.value(source).toStdString();
    options.session.targetLanguage = parser.value(target).toStdString();
    options.session.appearanceMode = parser.value(appearance).toStdString();
    const auto known = [](const auto &languages, const std::string &id) {
        return std::any_of(languages.begin(), languages.end(),
            [&](const auto &language) { return language.id == id; });
    };
    if (!known(demoSourceLanguages(), options.session.sourceLanguage)
        || !known(demoTargetLanguages(), options.session.targetLanguage))
        return DemoOptionsError {"unknown language id in --source or --target"};

    if (parser.isSet(malformed)) {
        const auto value = positiveNumber(parser.value(malformed), false);
        if (!value)
            return DemoOptionsError {"--malformed-every takes a number of seconds above 0"};
        options.malformedEvery = *value;
    }
    if (parser.isSet(duration)) {
        const auto value = positiveNumber(parser.value(duration), false);
        if (!value)
            return DemoOptionsError {"--duration takes a number of seconds above 0"};
        options.duration = *value;
    }
    options.autostart = parser.isSet(autostart);
    options.quiet = parser.isSet(quiet);
    options.recordPath = parser.value(record);
    options.replayPath = parser.value(replay);
    return options;
}
