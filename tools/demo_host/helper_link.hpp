#pragma once

#include <memory>

#include <QByteArray>
#include <QObject>
#include <QProcess>

#include "wire_codec.hpp"

// The helper as a child process: host messages go to its standard input, commands come back from
// its standard output, one line each. Its standard error goes to ours.
class HelperLink final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelperLink)

public:
    explicit HelperLink(QString program, QObject *parent = nullptr);
    ~HelperLink() override;

    void start();
    qint64 processId() const { return m_process.processId(); }
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    // Writes one line; the line feed is added here.
    void writeLine(const QByteArray &line);
    // Bytes written but not yet taken by the helper.
    qint64 pendingBytes() const { return m_process.bytesToWrite(); }
    // Closes the helper's standard input: a helper reads that as the host going away.
    void closeInput() { m_process.closeWriteChannel(); }
    void kill() { m_process.kill(); }

    qint64 undecodableLines() const { return m_undecodable; }

signals:
    void started();
    void failedToStart(const QString &reason);
    void lineWritten(const QByteArray &line);
    void lineRead(const QByteArray &line);
    void commandReceived(const LiveTranslationHelperCommand &command);
    void undecodableLine(const QByteArray &line, const QString &reason);
    void finished(int exitCode, bool crashed);

private:
    void readOutput();

    QProcess m_process;
    QString m_program;
    QByteArray m_buffer;
    std::unique_ptr<WireDecoder> m_decoder;
    qint64 m_undecodable = 0;
};
