#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>

#include "parent_watch.hpp"

TEST(ParentWatch, ReportsTheExitOfTheWatchedProcessOnce)
{
    QProcess host;
    host.start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(host.waitForStarted());
    LiveTranslationParentWatch watch(static_cast<pid_t>(host.processId()));
    ASSERT_TRUE(watch.isWatching());
    QSignalSpy exited(&watch, &LiveTranslationParentWatch::parentExited);
    QCoreApplication::processEvents();
    EXPECT_EQ(exited.count(), 0);

    host.kill();
    ASSERT_TRUE(exited.wait(5000));
    QCoreApplication::processEvents(); // its descriptor stays readable
    EXPECT_EQ(exited.count(), 1);
}

TEST(ParentWatch, AParentThatIsNoLongerTheParentHasExitedAlready)
{
    QProcess other;
    other.start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(other.waitForStarted());
    // Not this process's parent: as if the host had gone and the sleeper were the adopter.
    const auto watch = LiveTranslationParentWatch::ofParent(static_cast<pid_t>(other.processId()));
    QSignalSpy exited(watch.get(), &LiveTranslationParentWatch::parentExited);
    ASSERT_TRUE(exited.wait(5000));
    other.kill();
    other.waitForFinished();
}
