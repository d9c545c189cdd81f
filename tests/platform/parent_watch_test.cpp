#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "parent_watch.hpp"

TEST(ParentWatch, ReportsTheExitOfTheWatchedProcessOnce)
{
    QProcess host;
    host.start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(host.waitForStarted());
    LiveTranslationParentWatch watch(static_cast<pid_t>(host.processId()));
    ASSERT_TRUE(watch.isWatching());
    QSignalSpy exited(&watch, &LiveTranslationParentWatch::parentExited);
    QTest::qWait(50);
    EXPECT_EQ(exited.count(), 0);

    host.kill();
    ASSERT_TRUE(exited.wait(5000));
    QTest::qWait(50);
    EXPECT_EQ(exited.count(), 1);
}
