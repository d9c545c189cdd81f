#include "demo_record.hpp"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

namespace {

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder(bytes);
    return !decoder.hasError();
}

QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray {text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2); // without the brackets
}

} // namespace

QByteArray encodeRecordEntry(const RecordEntry &entry)
{
    // Written by hand to keep the keys in reading order: time, direction, line.
    QByteArray text = "{\"t\":" + QByteArray::number(entry.time, 'f', 6)
        + ",\"from\":" + jsonString(entry.from);
    if (isValidUtf8(entry.line))
        text += ",\"line\":" + jsonString(QString::fromUtf8(entry.line));
    else
        text += ",\"line_base64\":\"" + entry.line.toBase64() + '"';
    return text + '}';
}

std::optional<RecordEntry> decodeRecordEntry(const QByteArray &text)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue time = object.value(QStringLiteral("t"));
    const QJsonValue from = object.value(QStringLiteral("from"));
    const QJsonValue line = object.value(QStringLiteral("line"));
    const QJsonValue base64 = object.value(QStringLiteral("line_base64"));
    if (!time.isDouble() || !from.isString() || !(line.isString() || base64.isString()))
        return std::nullopt;
    RecordEntry entry {time.toDouble(), from.toString(), {}};
    if (line.isString()) {
        entry.line = line.toString().toUtf8();
    } else {
        auto decoded = QByteArray::fromBase64Encoding(
            base64.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        entry.line = *decoded;
    }
    return entry;
}

bool RecordWriter::open(const QString &path, QString *error)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = m_file.errorString();
        return false;
    }
    return true;
}

void RecordWriter::write(const RecordEntry &entry)
{
    if (!m_file.isOpen())
        return;
    m_file.write(encodeRecordEntry(entry) + '\n');
    // Flushed line by line, so that the record survives a crash or a kill of the demo.
    m_file.flush();
}

std::optional<std::vector<RecordEntry>> readReplay(
    const QString &path, double interval, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    std::vector<RecordEntry> entries;
    double plainTime = 0;
    while (!file.atEnd()) {
        QByteArray text = file.readLine();
        if (text.endsWith('\n'))
            text.chop(1);
        if (text.isEmpty())
            continue;
        if (auto entry = decodeRecordEntry(text)) {
            if (entry->from == QLatin1String("host"))
                entries.push_back(std::move(*entry));
            continue;
        }
        // A plain line is played as it stands, malformed or not: previewing how the helper takes
        // a host's faulty lines is part of the point.
        entries.push_back({plainTime, QStringLiteral("host"), text});
        plainTime += interval;
    }
    return entries;
}
