// The applications and icons are those of the test desktop (test_desktop.hpp).
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

#include "app_icons.hpp"

TEST(ApplicationIcon, ThemedFileAndBaseFolderIconsAreFoundAndNothingElse)
{
    // Themed (by a name with its extension too; an SVG), in a base folder only, or a file named by
    // its path; the suffix names the same entry. An invalid colour: no icon.
    const struct {
        const char *id;
        QColor centre;
    } cases[] = {{"bundle:org.example.Themed", Qt::red}, {"bundle:org.example.Suffixed", Qt::red},
        {"bundle:org.example.Vector", Qt::blue}, {"bundle:org.example.Loose", Qt::yellow},
        {"bundle:org.example.AtHome", Qt::cyan}, {"bundle:org.example.PathIcon", Qt::green},
        {"bundle:org.example.Themed.desktop", Qt::red}, {"bundle:org.example.BrokenFile", {}},
        {"bundle:org.example.MissingFile", {}}, {"bundle:org.example.UnknownIcon", {}},
        {"bundle:org.example.NoIcon", {}}, {"bundle:org.example.Hidden", {}},
        {"bundle:org.example.NotInstalled", {}}, {"bundle:org.example.themed", {}}};
    for (const auto &c : cases) {
        const QIcon icon = applicationIcon(QString::fromUtf8(c.id));
        ASSERT_EQ(icon.isNull(), !c.centre.isValid()) << c.id;
        if (c.centre.isValid()) {
            const QImage image = icon.pixmap(QSize(22, 22)).toImage();
            EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), c.centre) << c.id;
        }
    }
}

TEST(ApplicationIcon, IdsThatNameNoApplicationAreNotLookedUp)
{
    EXPECT_EQ(desktopFileIdForSource(QStringLiteral("bundle:org.example.Themed")),
        QStringLiteral("org.example.Themed.desktop"));
    EXPECT_EQ(desktopFileIdForSource(QStringLiteral("bundle:a")), QStringLiteral("a.desktop"));
    for (const QString &id : {QString(), QStringLiteral("bundle:"),
             QStringLiteral("bundle:.desktop"), QStringLiteral("Bundle:org.example.Themed"),
             QStringLiteral(" bundle:org.example.Themed"), QStringLiteral("org.example.Themed"),
             QStringLiteral("bundle:../applications/x"),
             QStringLiteral("bundle:org.example.Themed\nX"),
             QStringLiteral("bundle:org.example.Themed") + QChar(0) + QStringLiteral("evil")}) {
        EXPECT_TRUE(desktopFileIdForSource(id).isEmpty()) << id.toStdString();
        EXPECT_TRUE(applicationIcon(id).isNull()) << id.toStdString();
    }
}
