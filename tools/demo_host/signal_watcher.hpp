#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal on the main thread: the handler only writes the
// signal's number into a pipe, whose read end a socket notifier watches.
class SignalWatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignalWatcher)

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void signalled(int signalNumber);

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
};
