#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>

// The record of a run: one JSON object a line,
//   {"t":1.25,"from":"host","line":"{\"type\":\"show\"}"}
//   {"t":1.70,"from":"helper","line":"{\"type\":\"start\"}"}
// where t is seconds since the run began and line is the exact line without its line feed. A line
// that is not valid UTF-8 is kept exactly as "line_base64" instead of "line".

struct RecordEntry {
    double time = 0;
    QString from; // "host" or "helper"
    QByteArray line;

    bool operator==(const RecordEntry &) const = default;
};

QByteArray encodeRecordEntry(const RecordEntry &entry);
// Nothing when the text is not a record entry.
std::optional<RecordEntry> decodeRecordEntry(const QByteArray &text);

class RecordWriter final {
public:
    RecordWriter() = default;
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    bool open(const QString &path, QString *error);
    bool isOpen() const { return m_file.isOpen(); }
    void write(const RecordEntry &entry);
    void close() { m_file.close(); }

private:
    QFile m_file;
};

// What to play into the helper: the host lines of a record at their recorded times, or, for a
// file of plain host-message lines, each line `interval` seconds after the one before.
std::optional<std::vector<RecordEntry>> readReplay(
    const QString &path, double interval, QString *error);
