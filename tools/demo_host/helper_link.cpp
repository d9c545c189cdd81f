#include "helper_link.hpp"

#include <string_view>

HelperLink::HelperLink(QString program, QObject *parent)
    : QObject(parent)
    , m_program(std::move(program))
    , m_decoder(std::make_unique<WireDecoder>())
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::started, this, &HelperLink::started);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &HelperLink::readOutput);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit failedToStart(m_process.errorString());
    });
    connect(
        &m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
            readOutput();
            emit finished(exitCode, status == QProcess::CrashExit);
        });
}

HelperLink::~HelperLink()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

void HelperLink::start()
{
    m_process.start(m_program, {}, QIODevice::ReadWrite);
}

void HelperLink::writeLine(const QByteArray &line)
{
    if (m_process.state() != QProcess::Running)
        return;
    QByteArray framed = line;
    framed.append('\n');
    m_process.write(framed);
    emit lineWritten(line);
}

void HelperLink::readOutput()
{
    m_buffer.append(m_process.readAllStandardOutput());
    qsizetype start = 0;
    while (true) {
        const qsizetype end = m_buffer.indexOf('\n', start);
        if (end < 0)
            break;
        const QByteArray line = m_buffer.mid(start, end - start);
        start = end + 1;
        emit lineRead(line);
        auto result = m_decoder->decodeCommand(std::string_view(line.constData(), line.size()));
        if (result) {
            emit commandReceived(*result.value);
        } else {
            ++m_undecodable;
            emit undecodableLine(line, QString::fromStdString(result.error.message()));
        }
    }
    m_buffer.remove(0, start);
}
