#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "pickers/audio_picker.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/picker_rows.hpp"
#include "pickers/popover.hpp"
#include "view_test_support.hpp"

namespace {

using viewtest::click;
using viewtest::findNamed;
using Strings = std::vector<std::string>;
using IconKind = LiveTranslationAudioRow::IconKind;

const QString kOption = QStringLiteral("liveTranslation.audioSourcePicker.option.");

LiveTranslationHelperSnapshot sources(
    std::vector<LiveTranslationHelperAudioOption> options, std::string selected)
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.audioSources = std::move(options);
    snapshot.selectedAudioSourceID = std::move(selected);
    return snapshot;
}

class AudioPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setGeometry(40, 40, 300, 60);
        anchor = new QPushButton(QStringLiteral("All Mac audio"), &window);
        anchor->setGeometry(100, 10, 100, 24);
        window.show();
        picker = new LiveTranslationAudioPicker(&recorder.model);
        popover = new LiveTranslationPopover(&window);
        popover->setContent(picker);
        QObject::connect(&recorder.model, &LiveTranslationHelperModel::snapshotChanged, picker,
            [this] { picker->render(recorder.model.snapshot(), LiveTranslationPalette::dark()); });
        QObject::connect(picker, &LiveTranslationAudioPicker::closeRequested, popover,
            &LiveTranslationPopover::dismiss);
    }

    void open(const LiveTranslationHelperSnapshot &snapshot)
    {
        recorder.model.applySnapshot(snapshot);
        popover->present(anchor);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popover));
    }

    LiveTranslationAudioRow *row(const std::string &id) const
    {
        return qobject_cast<LiveTranslationAudioRow *>(
            findNamed(picker, kOption + QString::fromStdString(id)));
    }

    // The visible "APPLICATIONS" headers, as the id of the row right under each.
    Strings headers() const
    {
        Strings result;
        for (QLabel *label : picker->findChildren<QLabel *>()) {
            if (label->text() != QStringLiteral("APPLICATIONS") || !label->isVisible())
                continue;
            auto *entry = label->parentWidget();
            auto *r = entry->findChild<LiveTranslationAudioRow *>();
            result.push_back(r->id().toStdString());
            EXPECT_LT(label->mapToGlobal(QPoint(0, 0)).y(), r->mapToGlobal(QPoint(0, 0)).y());
        }
        return result;
    }

    QWidget window;
    QPushButton *anchor = nullptr;
    viewtest::RecordingModel recorder;
    LiveTranslationAudioPicker *picker = nullptr;
    LiveTranslationPopover *popover = nullptr;
};

TEST_F(AudioPickerTest, EverythingReadsAllMacAudioWithItsSubtitleWhateverItsName)
{
    open(sources({{"mac-audio", "System sound"}, {"bundle:x", "X"}}, "mac-audio"));
    LiveTranslationAudioRow *everything = row("mac-audio");
    ASSERT_NE(everything, nullptr);
    EXPECT_EQ(everything->name(), QStringLiteral("All Mac audio"));
    EXPECT_EQ(everything->accessibleName(), QStringLiteral("All Mac audio"));
    EXPECT_EQ(everything->subtitle(), QStringLiteral("Everything playing on this Mac"));
    EXPECT_EQ(everything->iconKind(), IconKind::everything);
    EXPECT_TRUE(everything->isSelected());
    EXPECT_EQ(everything->height(), 43);
    EXPECT_EQ(row("bundle:x")->subtitle(), QString());
    EXPECT_EQ(row("bundle:x")->height(), 34);
    EXPECT_FALSE(row("bundle:x")->isSelected());
}

TEST_F(AudioPickerTest, ApplicationsHeaderSitsAboveTheSecondEntryOnly)
{
    open(sources({{"mac-audio", "A"}}, "mac-audio"));
    EXPECT_TRUE(headers().empty());
    recorder.model.applySnapshot(
        sources({{"bundle:a", "A"}, {"bundle:b", "B"}, {"bundle:c", "C"}}, "none"));
    EXPECT_EQ(headers(), Strings {"bundle:b"});
    // The header is no item: the row below it is the second of three.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(picker->list());
    EXPECT_EQ(list->childCount(), 3);
    EXPECT_EQ(list->child(1), QAccessible::queryAccessibleInterface(row("bundle:b")));
    EXPECT_EQ(list->indexOfChild(list->child(1)), 1);
    recorder.model.applySnapshot(sources({{"x", "X"}, {"mac-audio", "M"}}, "none"));
    EXPECT_EQ(headers(), Strings {"mac-audio"});
    recorder.model.applySnapshot(sources({}, "none"));
    EXPECT_TRUE(headers().empty());
    EXPECT_EQ(picker->list()->count(), 0);
}

TEST_F(AudioPickerTest, MarksComeFromTheSnapshotOnly)
{
    open(sources({{"a", "A"}, {"b", "B"}, {"a", "A again"}}, "a"));
    EXPECT_TRUE(picker->list()->entryAt(0)->findChild<LiveTranslationAudioRow *>()->isSelected());
    EXPECT_FALSE(row("b")->isSelected());
    EXPECT_TRUE(picker->list()->entryAt(2)->findChild<LiveTranslationAudioRow *>()->isSelected());
    recorder.model.applySnapshot(sources({{"a", "A"}, {"b", "B"}}, "A"));
    EXPECT_FALSE(row("a")->isSelected());
    EXPECT_FALSE(row("b")->isSelected());
}

TEST_F(AudioPickerTest, ChoosingSendsOneCommandAndClosesEvenForTheChosenSource)
{
    open(sources({{"mac-audio", "M"}, {"bundle:a", "A"}}, "mac-audio"));
    QSignalSpy closing(picker, &LiveTranslationAudioPicker::closeRequested);
    click(row("bundle:a"));
    EXPECT_EQ(recorder.sent(), Strings {"set_audio_source:bundle:a"});
    EXPECT_EQ(closing.count(), 1);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_FALSE(row("bundle:a") && row("bundle:a")->isVisible() && row("bundle:a")->isSelected());

    popover->present(anchor);
    click(row("mac-audio"));
    EXPECT_EQ(
        recorder.sent(), (Strings {"set_audio_source:bundle:a", "set_audio_source:mac-audio"}));
    EXPECT_EQ(closing.count(), 2);
}

TEST_F(AudioPickerTest, KeyboardChoosesTheFocusedRow)
{
    open(sources({{"mac-audio", "M"}, {"bundle:a", "A"}, {"bundle:b", "B"}}, "bundle:a"));
    ASSERT_TRUE(viewtest::waitUntilActive(popover));
    // Opening puts the focus on the chosen source.
    EXPECT_EQ(QApplication::focusWidget(), row("bundle:a"));
    viewtest::pressKey(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), row("bundle:b"));
    viewtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(recorder.sent(), Strings {"set_audio_source:bundle:b"});
    EXPECT_FALSE(popover->isVisible());
}

TEST_F(AudioPickerTest, IconsComeFromInstalledApplicationsAndOnlyForBundleIds)
{
    open(sources({{"mac-audio", "M"}, {testdesktop::kInstalledApp.toStdString(), "Installed"},
                     {testdesktop::kMissingApp.toStdString(), "Missing"},
                     {"Bundle:org.example.Installed", "Wrong case"}, {"bundle:", "Empty"},
                     {"org.example.Installed", "No prefix"}},
        "none"));
    EXPECT_EQ(row("mac-audio")->iconKind(), IconKind::everything);
    EXPECT_EQ(row(testdesktop::kInstalledApp.toStdString())->iconKind(), IconKind::application);
    for (const char *id : {"bundle:org.example.Missing", "Bundle:org.example.Installed",
             "bundle:", "org.example.Installed"})
        EXPECT_EQ(row(id)->iconKind(), IconKind::generic) << id;

    // The installed 16-pixel icon is stretched over the 22-point frame, 9 to 31.
    const QImage image = row(testdesktop::kInstalledApp.toStdString())->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const int y = image.height() / 2;
    EXPECT_EQ(image.pixelColor(int(9.5 * ratio), y), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(int(30.5 * ratio), y), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(int(31.5 * ratio), y), QColor(Qt::red));

    // An icon is looked up once per id: a rebind keeps it, a theme change looks again.
    const std::string fileApp = testdesktop::kFileIconApp.toStdString();
    auto next = sources({{"mac-audio", "M"}, {fileApp, "File"}}, "none");
    recorder.model.applySnapshot(next);
    ASSERT_EQ(row(fileApp)->iconKind(), IconKind::application);
    const QString iconFile
        = QIcon::themeSearchPaths().front() + QLatin1Char('/') + testdesktop::kFileIconName;
    const QString movedFile = iconFile + QStringLiteral(".moved");
    ASSERT_TRUE(QFile::rename(iconFile, movedFile));
    next.selectedAudioSourceID = "mac-audio";
    recorder.model.applySnapshot(next);
    EXPECT_EQ(row(fileApp)->iconKind(), IconKind::application);
    QEvent themeChange(QEvent::ThemeChange);
    QCoreApplication::sendEvent(picker, &themeChange);
    EXPECT_EQ(row(fileApp)->iconKind(), IconKind::generic);
    ASSERT_TRUE(QFile::rename(movedFile, iconFile));
}

TEST_F(AudioPickerTest, LongListsBuildOnlyTheRowsInView)
{
    std::vector<LiveTranslationHelperAudioOption> many = {{"mac-audio", "M"}};
    for (int i = 0; i < 500; ++i)
        many.push_back({"bundle:app" + std::to_string(i), "App " + std::to_string(i)});
    open(sources(many, "mac-audio"));
    EXPECT_EQ(picker->list()->count(), 501);
    EXPECT_LT(picker->list()->builtCount(), 20);
    EXPECT_EQ(row("bundle:app400"), nullptr);
    picker->list()->scrollToEntry(400);
    ASSERT_NE(row("bundle:app399"), nullptr);
    EXPECT_LT(picker->list()->builtCount(), 20);
}

} // namespace
