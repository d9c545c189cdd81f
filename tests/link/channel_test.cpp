// The channel over real pipes: a writer thread plays the host, the Qt event loop delivers.

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <random>
#include <string>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <QCoreApplication>
#include <QTimer>

#include "channel.hpp"
#include "random_snapshots.hpp"
#include "wire_codec.hpp"
#include "wire_printers.hpp"

namespace {

using Channel = LiveTranslationHelperChannel;
using HostMessage = LiveTranslationHelperHostMessage;
using Kind = HostMessage::Kind;

struct Pipe {
    int read = -1;
    int write = -1;

    Pipe()
    {
        int fds[2];
        EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        read = fds[0];
        write = fds[1];
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe &) = delete;
    Pipe &operator=(const Pipe &) = delete;

    void closeRead()
    {
        if (read >= 0)
            ::close(read);
        read = -1;
    }
    void closeWrite()
    {
        if (write >= 0)
            ::close(write);
        write = -1;
    }
    std::size_t pendingBytes() const
    {
        int count = 0;
        ::ioctl(read, FIONREAD, &count);
        return static_cast<std::size_t>(count);
    }
};

class ChannelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "channel_test";
        static char *argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            static QCoreApplication app(argc, argv);
        // A closed reader of our output must give EPIPE, not kill the process; main does the same.
        std::signal(SIGPIPE, SIG_IGN);
    }

    // Runs the event loop until done() holds; a generous deadline only guards against hangs.
    static bool runUntil(const std::function<bool()> &done)
    {
        QTimer tick;
        tick.start(5);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    static void drainEvents()
    {
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }
};

// Among the small lines stand a few legal snapshot lines of about 2 MiB.
bool isLargeLine(std::size_t index)
{
    return index % 25000 == 10;
}

std::string lineFor(std::size_t index)
{
    if (index % 10 == 0) {
        LiveTranslationHelperSnapshot snapshot;
        snapshot.generation = index;
        if (isLargeLine(index))
            snapshot.statusMessage.assign(2090000, 'x');
        return encodeHostMessage(HostMessage::makeSnapshot(snapshot)) + "\n";
    }
    static const char *const kinds[]
        = {R"({"type":"show"})", R"({"type":"hide"})", R"({"type":"toggle"})"};
    return std::string(kinds[index % 3]) + "\n";
}

bool matchesLine(const HostMessage &message, std::size_t index)
{
    if (index % 10 == 0) {
        return message.kind == Kind::snapshot && message.snapshot->generation == index
            && message.snapshot->statusMessage.size() == (isLargeLine(index) ? 2090000 : 18);
    }
    static const Kind kinds[] = {Kind::show, Kind::hide, Kind::toggle};
    return message.kind == kinds[index % 3];
}

void ignoreSignal(int)
{
}

// Signals that interrupt blocking calls: without SA_RESTART they fail with EINTR.
void installInterruptingSignal()
{
    struct sigaction action = {};
    action.sa_handler = ignoreSignal;
    ASSERT_EQ(::sigaction(SIGUSR1, &action, nullptr), 0);
}

// The process's threads now; one that has ended is no longer listed, even before it is joined.
std::vector<int> threadIds()
{
    std::vector<int> ids;
    if (DIR *tasks = ::opendir("/proc/self/task")) {
        while (const dirent *task = ::readdir(tasks)) {
            if (task->d_name[0] != '.')
                ids.push_back(std::atoi(task->d_name));
        }
        ::closedir(tasks);
    }
    return ids;
}

// Interrupts every thread of the process, the channel's reader among them, wherever it blocks.
void interruptEveryThread()
{
    for (const int id : threadIds())
        ::syscall(SYS_tgkill, ::getpid(), id, SIGUSR1);
}

TEST_F(ChannelTest, KeepsEveryLineInOrderInRandomChunksUnderSignalsAndEndsOnceAfterTheData)
{
    installInterruptingSignal();
    constexpr std::size_t kLines = 100000;
    Pipe input;
    Pipe output;
    Channel channel(input.read, output.write);
    std::size_t received = 0;
    std::size_t outOfOrder = 0;
    std::size_t receivedAtEnd = 0;
    int closedCalls = 0;
    channel.setReceiver([&](const HostMessage &message) {
        outOfOrder += matchesLine(message, received) ? 0 : 1;
        ++received;
    });
    channel.setHostClosedHandler([&] {
        ++closedCalls;
        receivedAtEnd = received;
    });
    channel.startReading();

    std::atomic<bool> writing = true;
    std::thread writer([&] {
        std::string stream;
        for (std::size_t i = 0; i < kLines; ++i) {
            stream += lineFor(i);
            // One line past the 2 MiB cap behind a large one: dropped alone.
            if (i == 50010)
                stream += R"({"type":"show","pad":")" + std::string(2097152, 'x') + "\"}\n";
        }
        stream += R"({"type":"terminate"})"; // no line feed: never delivered
        std::mt19937 random(11);
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t size = std::min<std::size_t>(1 + random() % 9000, stream.size() - at);
            if (!writeFully(input.write, stream.data() + at, size)) {
                ADD_FAILURE() << "the channel stopped reading after " << at << " bytes";
                break;
            }
            at += size;
            if (random() % 50 == 0)
                std::this_thread::yield();
        }
        input.closeWrite();
        writing = false;
    });
    std::thread interrupter([&] {
        while (writing) {
            interruptEveryThread();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const bool ended = runUntil([&] { return closedCalls > 0; });
    // A reader that gave up early leaves the writer blocked on a full pipe: release it.
    input.closeRead();
    writer.join();
    interrupter.join();
    ASSERT_TRUE(ended);
    drainEvents();
    EXPECT_EQ(received, kLines);
    EXPECT_EQ(receivedAtEnd, kLines); // all data comes before the end
    EXPECT_EQ(outOfOrder, 0U);
    EXPECT_EQ(closedCalls, 1);
}

TEST_F(ChannelTest, SnapshotsOfVaryingSizeComeOutExactWhateverTheReceiverLeavesBehind)
{
    // The receiver takes each snapshot in the ways a real one may: exchanging it for the one it
    // held, moving it out, scribbling over it, or leaving it. The channel reuses what is left for
    // later lines, which must still decode exactly as on their own.
    std::mt19937 random(3);
    WireDecoder fresh;
    std::string stream;
    std::vector<HostMessage> expected;
    for (std::uint64_t i = 0; i < 600; ++i) {
        std::string line = random() % 6 == 0
            ? std::string(R"({"type":"hide"})")
            : encodeHostMessage(HostMessage::makeSnapshot(
                wiretest::randomSnapshot(random, i, random() % 10 == 0 ? 600 : 40)));
        auto decoded = fresh.decodeHostMessage(line);
        ASSERT_TRUE(decoded) << decoded.error.message();
        expected.push_back(std::move(*decoded.value));
        stream += line + "\n";
    }

    Pipe input;
    Pipe output;
    Channel channel(input.read, output.write);
    LiveTranslationHelperSnapshot held;
    std::size_t received = 0;
    std::size_t wrong = 0;
    bool closed = false;
    channel.setReceiver([&](HostMessage &message) {
        if (received >= expected.size() || !(message == expected[received]))
            ++wrong;
        if (message.snapshot) {
            switch (received % 4) {
            case 0: std::swap(held, *message.snapshot); break;
            case 1: held = std::move(*message.snapshot); break;
            case 2:
                message.snapshot->committedCards.push_back({"stale", "stale", "stale", 1});
                message.snapshot->activeSourceText = "stale";
                message.snapshot->statusMessage += "stale";
                break;
            default: break;
            }
        }
        ++received;
    });
    channel.setHostClosedHandler([&] { closed = true; });
    channel.startReading();
    std::thread writer([&] {
        std::mt19937 chunks(5);
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t size
                = std::min<std::size_t>(1 + chunks() % 20000, stream.size() - at);
            ASSERT_TRUE(writeFully(input.write, stream.data() + at, size));
            at += size;
        }
        input.closeWrite();
    });
    ASSERT_TRUE(runUntil([&] { return closed; }));
    writer.join();
    EXPECT_EQ(received, expected.size());
    EXPECT_EQ(wrong, 0U);
}

TEST_F(ChannelTest, EveryCommandIsOneObjectAndOneLineFeed)
{
    using Command = LiveTranslationHelperCommand;
    Pipe input;
    Pipe output;
    const std::vector<Command> commands = {Command::start(), Command::stop(), Command::cancel(),
        Command::hide(), Command::swapLanguages(), Command::requestMoreTime(),
        Command::setSourceLanguage(""), Command::setTargetLanguage("line\nbreak \"quoted\""),
        Command::setAudioSource("bundle:x"), Command::setShowsSourceText(false)};
    {
        // The channel writes through a description of its own: the output ends with both.
        Channel channel(input.read, output.write);
        for (const Command &command : commands)
            channel.send(command);
    }
    output.closeWrite();
    std::string written;
    std::array<char, 4096> buffer {};
    ssize_t count = 0;
    while ((count = ::read(output.read, buffer.data(), buffer.size())) > 0)
        written.append(buffer.data(), static_cast<std::size_t>(count));

    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.back(), '\n');
    WireDecoder decoder;
    std::size_t start = 0;
    for (const Command &command : commands) {
        const std::size_t end = written.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = written.substr(start, end - start);
        EXPECT_EQ(line, encodeCommand(command));
        const auto decoded = decoder.decodeCommand(line);
        ASSERT_TRUE(decoded) << decoded.error.message();
        EXPECT_EQ(*decoded.value, command);
        start = end + 1;
    }
    EXPECT_EQ(start, written.size()); // nothing else on the output
}

TEST_F(ChannelTest, AHostThatStopsReadingIsStillHeardAndThenReadsWholeLinesInOrder)
{
    Pipe input;
    Pipe output;
    ASSERT_EQ(::fcntl(output.write, F_SETPIPE_SZ, 65536), 65536);
    Channel channel(input.read, output.write);
    std::vector<Kind> received;
    bool closed = false;
    channel.setReceiver([&](const HostMessage &message) { received.push_back(message.kind); });
    channel.setHostClosedHandler([&] { closed = true; });
    channel.startReading();
    // Lines of 64 bytes: 1024 fill the pipe, 16384 the 1 MiB queue, the rest are dropped.
    const auto idFor = [](std::size_t i) {
        const std::string number = std::to_string(i);
        return std::string(6 - number.size(), '0') + number + std::string(12, 'x');
    };

    // A send that waited for the host would never return: after a deadline, a guard empties the
    // pipe for it, so that the test fails instead of hanging.
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool sent = false;
    std::atomic<bool> stalled = false;
    std::thread guard([&] {
        std::unique_lock lock(mutex);
        if (doneChanged.wait_for(lock, std::chrono::seconds(30), [&] { return sent; }))
            return;
        stalled = true;
        for (std::array<char, 65536> sink {}; !sent;) {
            lock.unlock();
            pollfd readable {output.read, POLLIN, 0};
            if (::poll(&readable, 1, 10) > 0)
                (void)::read(output.read, sink.data(), sink.size());
            lock.lock();
        }
    });
    for (std::size_t i = 0; i < 30000; ++i)
        channel.send(LiveTranslationHelperCommand::setAudioSource(idFor(i)));
    {
        const std::lock_guard lock(mutex);
        sent = true;
    }
    doneChanged.notify_all();
    guard.join();
    ASSERT_FALSE(stalled) << "sending waited for the host";
    EXPECT_EQ(channel.queuedBytes(), 1048576U);

    // Still heard while nothing is read: the host's last line and the end of its input.
    const std::string terminate = R"({"type":"terminate"})"
                                  "\n";
    ASSERT_TRUE(writeFully(input.write, terminate.data(), terminate.size()));
    input.closeWrite();
    ASSERT_TRUE(runUntil([&] { return closed; }));
    EXPECT_EQ(received, std::vector<Kind> {Kind::terminate});

    // The host reads again: the queue follows what the pipe held, then new commands.
    ASSERT_EQ(::fcntl(output.read, F_SETFL, O_NONBLOCK), 0);
    std::string written;
    const auto readAll = [&] {
        std::array<char, 65536> buffer {};
        for (ssize_t count; (count = ::read(output.read, buffer.data(), buffer.size())) > 0;)
            written.append(buffer.data(), static_cast<std::size_t>(count));
    };
    ASSERT_TRUE(runUntil([&] {
        readAll();
        return channel.queuedBytes() == 0 && written.size() == 17408 * 64;
    }));
    channel.send(LiveTranslationHelperCommand::setAudioSource(idFor(30000)));
    readAll();
    std::vector<std::string> ids;
    WireDecoder decoder;
    for (std::size_t start = 0, end; (end = written.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const auto command = decoder.decodeCommand(written.substr(start, end - start));
        ASSERT_TRUE(command) << command.error.message();
        ids.push_back(command.value->stringValue);
    }
    EXPECT_EQ(written.back(), '\n');
    ASSERT_EQ(ids.size(), 17409U);
    for (std::size_t i = 0; i < 17408; ++i)
        ASSERT_EQ(ids[i], idFor(i));
    EXPECT_EQ(ids.back(), "030000xxxxxxxxxxxx");
}

TEST_F(ChannelTest, WritingAfterTheReaderClosedIsDroppedSilently)
{
    Pipe input;
    Pipe output;
    Channel channel(input.read, output.write);
    output.closeRead();
    channel.send(LiveTranslationHelperCommand::start()); // EPIPE, not death by SIGPIPE
    channel.send(LiveTranslationHelperCommand::stop());
    const char byte = 'x';
    std::size_t written = 7;
    EXPECT_FALSE(writeFully(output.write, &byte, 1, &written));
    EXPECT_EQ(written, 0U);
}

TEST_F(ChannelTest, StopReadingWakesAnIdleReaderWithoutReportingEndOfFile)
{
    Pipe input;
    Pipe output;
    bool closed = false;
    int received = 0;
    const std::string line = R"({"type":"show"})"
                             "\n";
    {
        Channel channel(input.read, output.write);
        channel.setHostClosedHandler([&] { closed = true; });
        channel.setReceiver([&](const HostMessage &) { ++received; });
        channel.startReading();
        channel.stopReading();
        // Stopped: a line waits in the pipe until reading starts again.
        ASSERT_TRUE(writeFully(input.write, line.data(), line.size()));
        drainEvents();
        EXPECT_EQ(received, 0);
        EXPECT_EQ(input.pendingBytes(), line.size());
        channel.startReading();
        ASSERT_TRUE(runUntil([&] { return received == 1; }));
        // The destructor joins a reader that is still waiting.
    }
    drainEvents();
    EXPECT_FALSE(closed);
}

TEST_F(ChannelTest, ChunkArrivingAfterTheChannelIsDestroyedIsIgnored)
{
    Pipe input;
    Pipe output;
    int received = 0;
    bool closed = false;
    const std::size_t threadsBefore = threadIds().size();
    auto channel = std::make_unique<Channel>(input.read, output.write);
    channel->setReceiver([&](const HostMessage &) { ++received; });
    channel->setHostClosedHandler([&] { closed = true; });
    channel->startReading();
    const std::string line = R"({"type":"show"})"
                             "\n";
    ASSERT_TRUE(writeFully(input.write, line.data(), line.size()));
    input.closeWrite();
    // The reader ends after the end of file: by then it has handed over the line and the end,
    // and both wait in the event loop.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (threadIds().size() != threadsBefore && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(threadIds().size(), threadsBefore);
    channel.reset();
    drainEvents();
    EXPECT_EQ(received, 0);
    EXPECT_FALSE(closed);
}

TEST_F(ChannelTest, ReceiverMayDestroyTheChannel)
{
    Pipe input;
    Pipe output;
    std::vector<Kind> received;
    auto *channel = new Channel(input.read, output.write);
    channel->setReceiver([&](const HostMessage &message) {
        received.push_back(message.kind);
        if (message.kind == Kind::terminate)
            delete channel;
    });
    channel->startReading();
    const std::string lines = R"({"type":"show"})"
                              "\n"
                              R"({"type":"terminate"})"
                              "\n"
                              R"({"type":"hide"})"
                              "\n";
    ASSERT_TRUE(writeFully(input.write, lines.data(), lines.size()));
    ASSERT_TRUE(runUntil([&] { return received.size() >= 2; }));
    drainEvents();
    EXPECT_EQ(received, (std::vector<Kind> {Kind::show, Kind::terminate}));
}

TEST_F(ChannelTest, ALargeWriteToASlowReaderGoesOutWholeDespitePartialWritesAndSignals)
{
    installInterruptingSignal();
    Pipe slow;
    std::string big(3 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('a' + i % 26);
    std::string got;
    std::thread reader([&] {
        std::array<char, 1000> buffer {};
        ssize_t count = 0;
        while ((count = ::read(slow.read, buffer.data(), buffer.size())) != 0) {
            if (count > 0)
                got.append(buffer.data(), static_cast<std::size_t>(count));
            else if (errno != EINTR)
                break;
        }
    });
    std::atomic<bool> sending = true;
    const pthread_t writerThread = ::pthread_self();
    std::thread signaller([&] {
        while (sending) {
            ::pthread_kill(writerThread, SIGUSR1);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    std::size_t written = 0;
    EXPECT_TRUE(writeFully(slow.write, big.data(), big.size(), &written));
    sending = false;
    signaller.join();
    slow.closeWrite();
    reader.join();
    EXPECT_EQ(written, big.size());
    EXPECT_TRUE(got == big);
}

} // namespace
