// Checks a demo host record (tavu-demo-host --record FILE): every line the helper wrote must
// decode as a command, none may follow the host's terminate (ending is not the user closing the
// panel), and the commands must include the given kinds in the given order.
//   record_check FILE [--expect kind,kind,...]
// Prints what it found; exits 0 when the record passes, 1 when it does not, 2 on misuse.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include "demo_record.hpp"
#include "wire_codec.hpp"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--expect"))) {
        std::fprintf(stderr, "usage: record_check FILE [--expect kind,kind,...]\n");
        return 2;
    }
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "record_check: cannot read %s\n", qPrintable(args[1]));
        return 2;
    }
    const QStringList expected
        = args.size() == 4 ? args[3].split(QLatin1Char(','), Qt::SkipEmptyParts) : QStringList();

    WireDecoder decoder;
    int entries = 0, commands = 0, badCommands = 0, badEntries = 0;
    int snapshots = 0, rejectedHostLines = 0, staleSnapshots = 0, terminates = 0;
    int afterTerminate = 0; // commands the helper wrote after the host told it to end
    std::uint64_t newest = 0;
    qsizetype matched = 0;
    while (!file.atEnd()) {
        QByteArray text = file.readLine();
        if (text.endsWith('\n'))
            text.chop(1);
        const auto entry = decodeRecordEntry(text);
        if (!entry) {
            ++badEntries;
            continue;
        }
        ++entries;
        const std::string_view line(entry->line.constData(), std::size_t(entry->line.size()));
        if (entry->from == QLatin1String("helper")) {
            const auto command = decoder.decodeCommand(line);
            if (!command) {
                ++badCommands;
                std::printf("undecodable command at %.3f s (%s): %s\n", entry->time,
                    command.error.message().c_str(), entry->line.left(200).constData());
                continue;
            }
            ++commands;
            if (terminates > 0) {
                ++afterTerminate;
                std::printf("command after terminate at %.3f s: %s\n", entry->time,
                    entry->line.constData());
            }
            if (matched < expected.size()
                && expected[matched] == QLatin1String(wireName(command.value->kind)))
                ++matched;
        } else {
            const auto message = decoder.decodeHostMessage(line);
            if (!message) {
                ++rejectedHostLines;
            } else if (message.value->kind == LiveTranslationHelperHostMessage::Kind::snapshot) {
                ++snapshots;
                if (message.value->snapshot->generation < newest)
                    ++staleSnapshots;
                newest = std::max(newest, message.value->snapshot->generation);
            } else if (message.value->kind == LiveTranslationHelperHostMessage::Kind::terminate) {
                ++terminates;
            }
        }
    }
    std::printf("record: %d entries; host: %d snapshots (%d stale), %d rejected lines, %d "
                "terminate; helper: %d commands, %d undecodable\n",
        entries, snapshots, staleSnapshots, rejectedHostLines, terminates, commands, badCommands);
    bool ok = badCommands == 0 && badEntries == 0 && afterTerminate == 0 && entries > 0;
    if (badEntries > 0)
        std::printf("%d lines are not record entries\n", badEntries);
    if (matched < expected.size()) {
        std::printf(
            "missing, in order: %s\n", qPrintable(expected.mid(matched).join(QLatin1Char(','))));
        ok = false;
    }
    return ok ? 0 : 1;
}
