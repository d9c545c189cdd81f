// The entry point of every Qt test program: GoogleTest inside one QApplication, on the test
// desktop (test_desktop.hpp) with its icon theme.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QTemporaryDir>

#include "test_desktop.hpp"

int main(int argc, char **argv)
{
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    testdesktop::install(root.path());
    // Before GIO and Qt read them: only the test's applications and icons exist.
    qputenv("XDG_DATA_DIRS", testdesktop::dataDir().toLocal8Bit());
    qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
    QApplication app(argc, argv);
    // What the desktop's platform theme gives; the offscreen platform has no icon theme.
    QIcon::setThemeSearchPaths({testdesktop::dataDir() + QStringLiteral("/icons")});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
