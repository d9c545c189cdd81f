// The channel over real pipes: a writer thread plays the host, the Qt event loop delivers.

#include <array>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
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
#include "wire_codec.hpp"

namespace {

using Channel = LiveTranslationHelperChannel;
using Command = LiveTranslationHelperCommand;
using HostMessage = LiveTranslationHelperHostMessage;
using Kind = HostMessage::Kind;

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

struct Pipe {
    int fds[2] = {-1, -1};

    Pipe() { EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0); }
    ~Pipe()
    {
        closeFd(fds[0]);
        closeFd(fds[1]);
    }
    void put(const std::string &bytes)
    {
        EXPECT_TRUE(writeFully(fds[1], bytes.data(), bytes.size()));
    }
    // What the pipe holds now, or up to its end when reading blocks.
    std::string take()
    {
        std::string out;
        std::array<char, 65536> buffer {};
        for (ssize_t count; (count = ::read(fds[0], buffer.data(), buffer.size())) > 0;)
            out.append(buffer.data(), static_cast<std::size_t>(count));
        return out;
    }
};

class ChannelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "channel_test";
        static char *argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        // A closed reader of our output must give EPIPE, not kill the process; main does the same.
        std::signal(SIGPIPE, SIG_IGN);
    }
    // A channel that waits for the host hangs its test: the alarm ends it as a failure.
    void SetUp() override { ::alarm(120); }
    void TearDown() override { ::alarm(0); }

    static void runUntil(const std::function<bool()> &done)
    {
        QTimer tick;
        tick.start(5);
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    static void drainEvents()
    {
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }

    Pipe input; // the host's lines to the channel
    Pipe output; // the channel's commands to the host
    int &inRead = input.fds[0];
    int &inWrite = input.fds[1];
    int &outRead = output.fds[0];
    int &outWrite = output.fds[1];
};

const std::string kShowLine = "{\"type\":\"show\"}\n";

// The process's threads now; one that has ended is no longer listed, even before it is joined.
std::vector<int> threadIds()
{
    std::vector<int> ids;
    DIR *tasks = ::opendir("/proc/self/task");
    while (const dirent *task = ::readdir(tasks)) {
        if (task->d_name[0] != '.')
            ids.push_back(std::atoi(task->d_name));
    }
    ::closedir(tasks);
    return ids;
}

TEST_F(ChannelTest, KeepsEveryLineInOrderInRandomChunksUnderSignalsAndEndsOnceAfterTheData)
{
    // Without SA_RESTART, blocking calls of every thread (reader and writer) fail with EINTR.
    struct sigaction action = {};
    action.sa_handler = [](int) {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, nullptr), 0);
    // The framing of long lines is the decoder's; here the order of many short ones.
    constexpr std::size_t kLines = 100000;
    const Kind kinds[] = {Kind::show, Kind::hide, Kind::toggle};
    Channel channel(inRead, outWrite);
    std::size_t received = 0;
    std::size_t wrong = 0;
    std::size_t receivedAtEnd = 0;
    int closedCalls = 0;
    channel.setReceiver(
        [&](const HostMessage &message) { wrong += message.kind != kinds[received++ % 3]; });
    channel.setHostClosedHandler([&] {
        ++closedCalls;
        receivedAtEnd = received;
    });
    channel.startReading();

    std::atomic<bool> writing = true;
    std::thread writer([&] {
        std::string stream;
        for (std::size_t i = 0; i < kLines; ++i)
            stream += std::array {
                "{\"type\":\"show\"}\n", "{\"type\":\"hide\"}\n", "{\"type\":\"toggle\"}\n"}[i % 3];
        stream += R"({"type":"terminate"})"; // no line feed: never delivered
        std::mt19937 random(11);
        for (std::size_t at = 0, size = 0; at < stream.size(); at += size) {
            size = std::min<std::size_t>(1 + random() % 9000, stream.size() - at);
            std::size_t written = 0;
            if (!writeFully(inWrite, stream.data() + at, size, &written) || written != size) {
                ADD_FAILURE() << "wrote " << written << " of " << size << " bytes at " << at;
                break;
            }
        }
        closeFd(inWrite);
        writing = false;
    });
    std::thread interrupter([&] {
        while (writing) {
            for (const int id : threadIds())
                ::syscall(SYS_tgkill, ::getpid(), id, SIGUSR1);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    runUntil([&] { return closedCalls > 0; });
    closeFd(inRead); // a reader that gave up early leaves the writer blocked on a full pipe
    writer.join();
    interrupter.join();
    drainEvents();
    EXPECT_EQ(received, kLines);
    EXPECT_EQ(receivedAtEnd, kLines); // all data comes before the end
    EXPECT_EQ(wrong, 0U);
    EXPECT_EQ(closedCalls, 1);
}

TEST_F(ChannelTest, CommandsToAClosedReaderAreDroppedSilently)
{
    Channel channel(inRead, outWrite);
    closeFd(outRead);
    channel.send(Command::start()); // EPIPE: the line is dropped, nothing waits
    channel.send(Command::stop());
    EXPECT_EQ(channel.queuedBytes(), 0U);
}

TEST_F(ChannelTest, AHostThatStopsReadingIsStillHeardAndThenReadsWholeLinesInOrder)
{
    ASSERT_EQ(::fcntl(outWrite, F_SETPIPE_SZ, 65536), 65536);
    auto channel = std::make_unique<Channel>(inRead, outWrite);
    std::vector<Kind> received;
    bool closed = false;
    channel->setReceiver([&](const HostMessage &message) { received.push_back(message.kind); });
    channel->setHostClosedHandler([&] { closed = true; });
    channel->startReading();
    // Lines of 64 bytes: 1024 fill the pipe, 16384 the 1 MiB queue, the rest are dropped whole.
    const auto lineOf = [](std::size_t i) {
        const std::string number = std::to_string(i);
        return std::string(6 - number.size(), '0') + number + std::string(12, 'x');
    };
    for (std::size_t i = 0; i < 30000; ++i)
        channel->send(Command::setAudioSource(lineOf(i)));
    EXPECT_EQ(channel->queuedBytes(), 1048576U);

    // Still heard while nothing is read: the host's last line and the end of its input.
    input.put("{\"type\":\"terminate\"}\n");
    closeFd(inWrite);
    runUntil([&] { return closed; });
    EXPECT_EQ(received, std::vector<Kind> {Kind::terminate});

    // The host reads again: the queue follows what the pipe held, then new commands.
    ASSERT_EQ(::fcntl(outRead, F_SETFL, O_NONBLOCK), 0);
    std::string written;
    runUntil([&] {
        written += output.take();
        return channel->queuedBytes() == 0 && written.size() >= 17408 * 64;
    });
    channel->send(Command::setAudioSource("030000xxxxxxxxxxxx"));
    written += output.take();
    std::string expected;
    for (std::size_t i = 0; i <= 17408; ++i)
        expected += R"({"type":"set_audio_source","string_value":")"
            + (i < 17408 ? lineOf(i) : "030000xxxxxxxxxxxx") + "\"}\n";
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
    // The channel writes through a description of its own, and closes it when it goes.
    channel.reset();
    closeFd(outWrite);
    ASSERT_EQ(::fcntl(outRead, F_SETFL, 0), 0);
    EXPECT_EQ(output.take(), "");
}

TEST_F(ChannelTest, StopReadingWakesTheReaderAndAtEndOfFileItEndsByItself)
{
    int received = 0;
    bool closed = false;
    const std::size_t threadsBefore = threadIds().size();
    auto channel = std::make_unique<Channel>(inRead, outWrite);
    channel->setReceiver([&](const HostMessage &) { ++received; });
    channel->setHostClosedHandler([&] { closed = true; });
    channel->startReading();
    channel->stopReading();
    // Stopped, with no end of input reported: a line waits in the pipe until reading starts again.
    input.put(kShowLine);
    drainEvents();
    int pending = 0;
    ::ioctl(inRead, FIONREAD, &pending);
    EXPECT_EQ(pending, 16);
    channel->startReading();
    runUntil([&] { return received == 1; });
    // The reader ends after the end of file, by then having handed over a line and the end; the
    // channel destroyed first reports neither.
    input.put(kShowLine);
    closeFd(inWrite);
    while (threadIds().size() != threadsBefore)
        std::this_thread::yield();
    channel.reset();
    drainEvents();
    EXPECT_EQ(received, 1);
    EXPECT_FALSE(closed);
}

TEST_F(ChannelTest, ReceiverMayDestroyTheChannel)
{
    std::vector<Kind> received;
    auto *channel = new Channel(inRead, outWrite);
    channel->setReceiver([&](const HostMessage &message) {
        received.push_back(message.kind);
        if (message.kind == Kind::terminate)
            delete channel;
    });
    channel->startReading();
    input.put(kShowLine + "{\"type\":\"terminate\"}\n{\"type\":\"hide\"}\n");
    runUntil([&] { return received.size() >= 2; });
    drainEvents();
    EXPECT_EQ(received, (std::vector<Kind> {Kind::show, Kind::terminate}));
}

} // namespace
