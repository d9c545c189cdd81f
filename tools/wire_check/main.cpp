// tavu-wire-check: reads lines meant for the helper (standard input or files) and prints, for
// each line, what it decodes to or exactly why the helper would drop it. Exit status 0 when every
// line is accepted, 1 when any line is rejected, 2 on a usage or read error.

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "line_checker.hpp"

namespace {

constexpr std::size_t kReadBytes = std::size_t {64} * 1024;
constexpr int kExitRejected = 1;
constexpr int kExitUsage = 2;

const char *const kUsage = R"(usage: tavu-wire-check [options] [FILE...]

Reads lines for the Live Translate helper from the FILEs (or standard input, also given as -)
and prints one line per input line:
  line 3: ok snapshot generation=12 lifecycle=listening ... cards=4
  line 4: rejected: snapshot.lifecycle: unknown value "paused"
  line 5: empty, skipped
The lines are cut and limited as the helper does: a line needs its line feed, and a line longer
than 2097151 bytes is dropped.

options:
  --commands    check command lines (the helper's output) instead of host messages
  --canonical   print each accepted line in canonical form instead of a summary
  -q, --quiet   print only rejected lines
  -h, --help    show this text

Exit status: 0 every line accepted, 1 some line rejected, 2 usage or read error.
)";

struct Options {
    WireLineChecker::Direction direction = WireLineChecker::Direction::hostMessages;
    WireLineChecker::Detail detail = WireLineChecker::Detail::summary;
    bool quiet = false;
    std::vector<std::string> files;
};

bool parseArguments(int argc, char **argv, Options &options)
{
    bool onlyFiles = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (onlyFiles || argument == "-" || argument.empty() || argument[0] != '-') {
            options.files.push_back(argument);
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--commands") {
            options.direction = WireLineChecker::Direction::commands;
        } else if (argument == "--canonical") {
            options.detail = WireLineChecker::Detail::canonical;
        } else if (argument == "-q" || argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "-h" || argument == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else {
            std::cerr << "tavu-wire-check: unknown option " << argument << "\n" << kUsage;
            return false;
        }
    }
    if (options.files.empty())
        options.files.emplace_back("-");
    return true;
}

// Feeds everything readable from fd to the checker, flushing after each read so that a live
// stream is reported as it comes.
bool checkStream(int fd, WireLineChecker &checker)
{
    std::array<char, kReadBytes> buffer {};
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        checker.feed(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
        std::cout.flush();
    }
    checker.finish();
    std::cout.flush();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    Options options;
    if (!parseArguments(argc, argv, options))
        return kExitUsage;

    std::size_t accepted = 0;
    std::size_t rejected = 0;
    std::size_t empty = 0;
    bool readError = false;
    const bool labelled = options.files.size() > 1;
    for (const std::string &file : options.files) {
        const bool isStdin = file == "-";
        const int fd = isStdin ? STDIN_FILENO : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            std::cerr << "tavu-wire-check: cannot open " << file << ": " << std::strerror(errno)
                      << "\n";
            readError = true;
            continue;
        }
        WireLineChecker checker(std::cout, options.direction, options.detail, options.quiet,
            labelled ? file : std::string());
        if (!checkStream(fd, checker)) {
            std::cerr << "tavu-wire-check: cannot read " << file << ": " << std::strerror(errno)
                      << "\n";
            readError = true;
        }
        if (!isStdin)
            ::close(fd);
        accepted += checker.accepted();
        rejected += checker.rejected();
        empty += checker.empty();
    }
    std::cerr << "tavu-wire-check: " << accepted << " accepted, " << rejected << " rejected, "
              << empty << " empty\n";
    if (readError)
        return kExitUsage;
    return rejected > 0 ? kExitRejected : 0;
}
