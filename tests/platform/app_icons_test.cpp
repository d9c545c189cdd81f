#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include "app_icons.hpp"

// Installs a few applications and a small icon theme under a temporary data directory that
// replaces the system's, before GIO and Qt read the directories.

namespace {

QTemporaryDir *g_root = nullptr;

QString dataDir()
{
    return g_root->filePath(QStringLiteral("data"));
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void writeImage(const QString &path, int size, QColor color)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path));
}

void writeDesktopEntry(const QString &id, const QByteArray &extra)
{
    writeFile(dataDir() + QStringLiteral("/applications/") + id + QStringLiteral(".desktop"),
        "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nExec=true\n" + extra);
}

void installFixtures()
{
    writeFile(dataDir() + QStringLiteral("/icons/hicolor/index.theme"),
        "[Icon Theme]\nName=Hicolor\nDirectories=22x22/apps,scalable/apps\n\n"
        "[22x22/apps]\nSize=22\nType=Fixed\n\n"
        "[scalable/apps]\nSize=48\nMinSize=8\nMaxSize=512\nType=Scalable\n");
    writeImage(
        dataDir() + QStringLiteral("/icons/hicolor/22x22/apps/tavu-test-red.png"), 22, Qt::red);
    writeFile(dataDir() + QStringLiteral("/icons/hicolor/scalable/apps/tavu-test-vector.svg"),
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48">)"
        R"(<rect width="48" height="48" fill="#0000ff"/></svg>)");
    // Outside every theme, directly in base folders the lookup falls back to.
    writeImage(dataDir() + QStringLiteral("/icons/tavu-test-loose.png"), 16, Qt::yellow);
    writeImage(g_root->filePath(QStringLiteral("home/.icons/tavu-test-home.png")), 16, Qt::cyan);
    writeImage(g_root->filePath(QStringLiteral("pictures/green.png")), 32, Qt::green);
    writeFile(g_root->filePath(QStringLiteral("pictures/broken.png")), "not an image");

    writeDesktopEntry(QStringLiteral("org.example.Themed"), "Icon=tavu-test-red\n");
    writeDesktopEntry(QStringLiteral("org.example.Suffixed"), "Icon=tavu-test-red.png\n");
    writeDesktopEntry(QStringLiteral("org.example.Vector"), "Icon=tavu-test-vector\n");
    writeDesktopEntry(QStringLiteral("org.example.FileIcon"),
        "Icon=" + g_root->filePath(QStringLiteral("pictures/green.png")).toUtf8() + "\n");
    writeDesktopEntry(QStringLiteral("org.example.BrokenFile"),
        "Icon=" + g_root->filePath(QStringLiteral("pictures/broken.png")).toUtf8() + "\n");
    writeDesktopEntry(QStringLiteral("org.example.MissingFile"),
        "Icon=" + g_root->filePath(QStringLiteral("pictures/none.png")).toUtf8() + "\n");
    writeDesktopEntry(QStringLiteral("org.example.Loose"), "Icon=tavu-test-loose\n");
    writeDesktopEntry(QStringLiteral("org.example.AtHome"), "Icon=tavu-test-home\n");
    writeDesktopEntry(QStringLiteral("org.example.UnknownIcon"), "Icon=tavu-no-such-icon\n");
    writeDesktopEntry(QStringLiteral("org.example.NoIcon"), "");
    writeDesktopEntry(QStringLiteral("org.example.Hidden"), "Icon=tavu-test-red\nHidden=true\n");
}

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
    const QIcon icon = applicationIcon(QStringLiteral("bundle:org.example.FileIcon"));
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

int main(int argc, char **argv)
{
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    g_root = &root;
    installFixtures();
    qputenv("XDG_DATA_DIRS", dataDir().toLocal8Bit());
    qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
    QApplication app(argc, argv);
    // The desktop's platform theme gives these; the offscreen platform used by tests has none.
    QIcon::setThemeSearchPaths({dataDir() + QStringLiteral("/icons")});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
