#pragma once

#include <variant>

#include <QString>
#include <QStringList>

#include "demo_session.hpp"

struct DemoOptions {
    QString helperPath; // empty: the helper next to this program
    DemoSessionSettings session; // scenario, languages, cards, speed, seed
    double rate = 20; // snapshots per second at most
    double malformedEvery = 0; // seconds between malformed lines; 0 sends none
    double duration = 0; // seconds until the demo ends by itself; 0 runs until stopped
    bool autostart = false;
    bool quiet = false;
    QString recordPath;
    QString replayPath;
};

struct DemoOptionsError {
    QString message;
    int exitCode = 2; // 0 when help or the version was asked for
};

std::variant<DemoOptions, DemoOptionsError> parseDemoOptions(const QStringList &arguments);
