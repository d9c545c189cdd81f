#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

#include "app_icons.hpp"

// The applications and icons are those of the test desktop (test_desktop.hpp).

namespace {

QColor centreColour(const QIcon &icon)
{
    const QImage image = icon.pixmap(QSize(22, 22)).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

TEST(ApplicationIcon, ThemedIconOfAnInstalledApplicationIsFound)
{
    const QIcon icon = applicationIcon(QStringLiteral("bundle:org.example.Themed"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(centreColour(icon), QColor(Qt::red));
    // An icon named with its file extension in the entry is still a themed icon.
    EXPECT_EQ(centreColour(applicationIcon(QStringLiteral("bundle:org.example.Suffixed"))),
        QColor(Qt::red));
    // Scalable icons draw (the SVG plugin is installed).
    EXPECT_EQ(centreColour(applicationIcon(QStringLiteral("bundle:org.example.Vector"))),
        QColor(Qt::blue));
    // No theme has these: the base folders do.
    EXPECT_EQ(centreColour(applicationIcon(QStringLiteral("bundle:org.example.Loose"))),
        QColor(Qt::yellow));
    EXPECT_EQ(centreColour(applicationIcon(QStringLiteral("bundle:org.example.AtHome"))),
        QColor(Qt::cyan));
    // An id already carrying the suffix names the same entry.
    EXPECT_FALSE(applicationIcon(QStringLiteral("bundle:org.example.Themed.desktop")).isNull());
}

TEST(ApplicationIcon, FileIconIsReadFromItsPath)
{
    const QIcon icon = applicationIcon(QStringLiteral("bundle:org.example.PathIcon"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(centreColour(icon), QColor(Qt::green));
    EXPECT_TRUE(applicationIcon(QStringLiteral("bundle:org.example.BrokenFile")).isNull());
    EXPECT_TRUE(applicationIcon(QStringLiteral("bundle:org.example.MissingFile")).isNull());
}

TEST(ApplicationIcon, NothingFoundGivesANullIcon)
{
    for (const char *id :
        {"bundle:org.example.UnknownIcon", "bundle:org.example.NoIcon", "bundle:org.example.Hidden",
            "bundle:org.example.NotInstalled", "bundle:org.example.themed"}) {
        EXPECT_TRUE(applicationIcon(QString::fromUtf8(id)).isNull()) << id;
    }
}

TEST(ApplicationIcon, IdsThatNameNoApplicationAreNotLookedUp)
{
    EXPECT_EQ(desktopFileIdForSource(QStringLiteral("bundle:org.example.Themed")),
        QStringLiteral("org.example.Themed.desktop"));
    EXPECT_EQ(desktopFileIdForSource(QStringLiteral("bundle:a")), QStringLiteral("a.desktop"));
    for (const QString &id : {QString(), QStringLiteral("bundle:"),
             QStringLiteral("bundle:.desktop"), QStringLiteral("Bundle:org.example.Themed"),
             QStringLiteral("BUNDLE:org.example.Themed"),
             QStringLiteral(" bundle:org.example.Themed"), QStringLiteral("bundle"),
             QStringLiteral("app:org.example.Themed"), QStringLiteral("mac-audio"),
             QStringLiteral("org.example.Themed"), QStringLiteral("bundle:../applications/x"),
             QStringLiteral("bundle:/usr/share/applications/x.desktop"),
             QStringLiteral("bundle:org.example.Themed\nX"),
             QStringLiteral("bundle:org.example.Themed") + QChar(0) + QStringLiteral("evil")}) {
        EXPECT_TRUE(desktopFileIdForSource(id).isEmpty()) << id.toStdString();
        EXPECT_TRUE(applicationIcon(id).isNull()) << id.toStdString();
    }
}

} // namespace
