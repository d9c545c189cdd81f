#include "picker_test_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace pickertest {

RecordingModel::RecordingModel()
{
    model.setCommandSender(
        [this](const LiveTranslationHelperCommand &command) { commands.push_back(command); });
}

std::vector<std::string> RecordingModel::sent() const
{
    std::vector<std::string> result;
    for (const auto &command : commands) {
        std::string line = wireName(command.kind);
        if (command.carriesString())
            line += ":" + command.stringValue;
        result.push_back(line);
    }
    return result;
}

LiveTranslationHelperSnapshot withLanguages(int count, std::string source, std::string target)
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.generation = 1;
    snapshot.sourceLanguage = std::move(source);
    snapshot.targetLanguage = std::move(target);
    for (int i = 0; i < count; ++i) {
        const std::string number = QString::number(i).rightJustified(4, '0').toStdString();
        snapshot.sourceLanguages.push_back({"l" + std::to_string(i), "Language " + number});
        snapshot.targetLanguages.push_back({"l" + std::to_string(i), "Language " + number});
    }
    return snapshot;
}

QWidget *findNamed(const QWidget *root, const QString &objectName)
{
    for (QWidget *widget : root->findChildren<QWidget *>(objectName)) {
        if (!widget->isHidden())
            return widget;
    }
    return nullptr;
}

std::vector<QWidget *> visibleNamed(const QWidget *root, const QString &prefix)
{
    std::vector<QWidget *> result;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        if (widget->objectName().startsWith(prefix) && widget->isVisible())
            result.push_back(widget);
    }
    std::sort(result.begin(), result.end(), [](QWidget *a, QWidget *b) {
        return a->mapToGlobal(QPoint(0, 0)).y() < b->mapToGlobal(QPoint(0, 0)).y();
    });
    return result;
}

bool waitUntilActive(QWidget *window)
{
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

void click(QWidget *widget)
{
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, key, modifiers);
}

} // namespace pickertest

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

// One installed application whose themed icon is a red square.
void installApplication(const QString &dataDir)
{
    writeFile(dataDir + QStringLiteral("/applications/org.example.Installed.desktop"),
        "[Desktop Entry]\nType=Application\nName=Installed\nExec=true\n"
        "Icon=tavu-picker-test\n");
    writeFile(dataDir + QStringLiteral("/icons/hicolor/index.theme"),
        "[Icon Theme]\nName=Hicolor\nDirectories=22x22/apps\n\n"
        "[22x22/apps]\nSize=22\nType=Fixed\n");
    QImage image(22, 22, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QDir().mkpath(dataDir + QStringLiteral("/icons/hicolor/22x22/apps"));
    image.save(dataDir + QStringLiteral("/icons/hicolor/22x22/apps/tavu-picker-test.png"));
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir root;
    const QString dataDir = root.filePath(QStringLiteral("data"));
    installApplication(dataDir);
    // Before GIO and Qt read them: only the test's applications exist.
    qputenv("XDG_DATA_DIRS", dataDir.toLocal8Bit());
    qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
    QApplication app(argc, argv);
    // What the desktop's platform theme gives; the offscreen platform has no icon theme.
    QIcon::setThemeSearchPaths({dataDir + QStringLiteral("/icons")});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
