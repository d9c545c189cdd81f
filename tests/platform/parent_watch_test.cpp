#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>

#include "parent_watch.hpp"

TEST(ParentWatch, ReportsTheExitOfTheWatchedProcessOnceAndANonParentAsGoneAlready)
{
    QProcess host;
    host.start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(host.waitForStarted());
    const auto pid = static_cast<pid_t>(host.processId());
    // Not this process's parent: as if the host had gone and the sleeper were the adopter.
    const auto adopter = LiveTranslationParentWatch::ofParent(pid);
    QSignalSpy adopterExited(adopter.get(), &LiveTranslationParentWatch::parentExited);
    ASSERT_TRUE(adopterExited.wait(5000));

    LiveTranslationParentWatch watch(pid);
    ASSERT_TRUE(watch.isWatching());
    QSignalSpy exited(&watch, &LiveTranslationParentWatch::parentExited);
    QCoreApplication::processEvents();
    EXPECT_EQ(exited.count(), 0);
    host.kill();
    ASSERT_TRUE(exited.wait(5000));
    QCoreApplication::processEvents(); // its descriptor stays readable
    EXPECT_EQ(exited.count(), 1);
}
