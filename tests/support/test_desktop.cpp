#include "test_desktop.hpp"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

QString g_root;

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

void writeImage(const QString &path, int size, QColor color)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    image.save(path);
}

void writeDesktopEntry(const QString &id, const QByteArray &extra)
{
    writeFile(
        testdesktop::dataDir() + QStringLiteral("/applications/") + id + QStringLiteral(".desktop"),
        "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nExec=true\n" + extra);
}

} // namespace

namespace testdesktop {

QString dataDir()
{
    return g_root + QStringLiteral("/data");
}

void install(const QString &root)
{
    g_root = root;
    const QString icons = dataDir() + QStringLiteral("/icons");
    writeFile(icons + QStringLiteral("/hicolor/index.theme"),
        "[Icon Theme]\nName=Hicolor\nDirectories=16x16/apps,22x22/apps,scalable/apps\n\n"
        "[16x16/apps]\nSize=16\nType=Fixed\n\n"
        "[22x22/apps]\nSize=22\nType=Fixed\n\n"
        "[scalable/apps]\nSize=48\nMinSize=8\nMaxSize=512\nType=Scalable\n");
    writeImage(icons + QStringLiteral("/hicolor/16x16/apps/tavu-picker-test.png"), 16, Qt::red);
    writeImage(icons + QStringLiteral("/hicolor/22x22/apps/tavu-test-red.png"), 22, Qt::red);
    writeFile(icons + QStringLiteral("/hicolor/scalable/apps/tavu-test-vector.svg"),
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48">)"
        R"(<rect width="48" height="48" fill="#0000ff"/></svg>)");
    // Outside every theme, directly in base folders the lookup falls back to.
    writeImage(icons + QStringLiteral("/tavu-test-loose.png"), 16, Qt::yellow);
    writeImage(root + QStringLiteral("/home/.icons/tavu-test-home.png"), 16, Qt::cyan);
    writeImage(icons + QLatin1Char('/') + kFileIconName, 16, Qt::red);
    writeImage(root + QStringLiteral("/pictures/green.png"), 32, Qt::green);
    writeFile(root + QStringLiteral("/pictures/broken.png"), "not an image");

    writeDesktopEntry(QStringLiteral("org.example.Installed"), "Icon=tavu-picker-test\n");
    writeDesktopEntry(QStringLiteral("org.example.FileIcon"),
        "Icon=" + (icons + QLatin1Char('/') + kFileIconName).toUtf8() + "\n");
    writeDesktopEntry(QStringLiteral("org.example.Themed"), "Icon=tavu-test-red\n");
    writeDesktopEntry(QStringLiteral("org.example.Suffixed"), "Icon=tavu-test-red.png\n");
    writeDesktopEntry(QStringLiteral("org.example.Vector"), "Icon=tavu-test-vector\n");
    writeDesktopEntry(QStringLiteral("org.example.PathIcon"),
        "Icon=" + (root + QStringLiteral("/pictures/green.png")).toUtf8() + "\n");
    writeDesktopEntry(QStringLiteral("org.example.BrokenFile"),
        "Icon=" + (root + QStringLiteral("/pictures/broken.png")).toUtf8() + "\n");
    writeDesktopEntry(QStringLiteral("org.example.MissingFile"),
        "Icon=" + (root + QStringLiteral("/pictures/none.png")).toUtf8() + "\n");
    writeDesktopEntry(QStringLiteral("org.example.Loose"), "Icon=tavu-test-loose\n");
    writeDesktopEntry(QStringLiteral("org.example.AtHome"), "Icon=tavu-test-home\n");
    writeDesktopEntry(QStringLiteral("org.example.UnknownIcon"), "Icon=tavu-no-such-icon\n");
    writeDesktopEntry(QStringLiteral("org.example.NoIcon"), "");
    writeDesktopEntry(QStringLiteral("org.example.Hidden"), "Icon=tavu-test-red\nHidden=true\n");
}

} // namespace testdesktop
