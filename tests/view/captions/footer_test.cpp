#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "captions/footer.hpp"
#include "view_test_support.hpp"

namespace {

using namespace viewtest;

class CaptionsFooterTest : public ::testing::Test {
protected:
    CaptionsFooterTest()
        : footer(&recording.model)
    {
        footer.resize(520, 60);
        footer.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&footer));
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    }
    void SetUp() override { ASSERT_TRUE(toggle && note && copyLatest && copyAll); }

    // The host's answer: the model takes the snapshot and the footer renders it.
    void host(const LiveTranslationHelperSnapshot &snapshot)
    {
        recording.model.applySnapshot(snapshot);
        footer.render(recording.model.snapshot(), LiveTranslationPalette::dark());
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }

    RecordingModel recording;
    LiveTranslationCaptionsFooter footer;
    QCheckBox *toggle = footer.findChild<QCheckBox *>("liveTranslation.showSourceToggle");
    QLabel *note = footer.findChild<QLabel *>("liveTranslation.showSourceNote");
    QPushButton *copyLatest = footer.findChild<QPushButton *>("liveTranslation.copyLatestButton");
    QPushButton *copyAll = footer.findChild<QPushButton *>("liveTranslation.copyAllButton");
};

TEST_F(CaptionsFooterTest, EachChangeOfTheToggleSendsOneCommandAndTheSnapshotDecidesWhatShows)
{
    EXPECT_EQ(toggle->text(), QStringLiteral("Original"));
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(note->text(),
        QStringLiteral("Original and translation remain paired to the same revision."));

    QTest::mouseClick(toggle, Qt::LeftButton);
    // Assistive technology toggles through the toggle action, which emits no click.
    QAccessible::queryAccessibleInterface(toggle)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(recording.events,
        (std::vector<std::string> {"set_shows_source_text", "set_shows_source_text"}));
    EXPECT_FALSE(recording.commands[0].boolValue || recording.commands[1].boolValue);
    EXPECT_TRUE(toggle->isChecked()) << "stays at the snapshot's value until the host answers";

    LiveTranslationHelperSnapshot hidden;
    hidden.showsSourceText = false;
    host(hidden);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(note->text(),
        QStringLiteral("Showing translations only. Originals remain available when re-enabled."));
    EXPECT_EQ(recording.commands.size(), 2u) << "the host's value sends nothing back";
    QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_EQ(recording.commands.size(), 3u);
    EXPECT_EQ(recording.events[2], "set_shows_source_text");
    EXPECT_TRUE(recording.commands[2].boolValue);
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(CaptionsFooterTest, CopyButtonsAreEnabledByWhatThereIsToCopyAndCopyOnlyTranslations)
{
    host({});
    EXPECT_FALSE(copyLatest->isEnabled());
    EXPECT_FALSE(copyAll->isEnabled());
    LiveTranslationHelperSnapshot snapshot;
    snapshot.activeTranslatedText = "";
    host(snapshot);
    EXPECT_TRUE(copyLatest->isEnabled());
    EXPECT_FALSE(copyAll->isEnabled());
    QTest::mouseClick(copyLatest, Qt::LeftButton);
    EXPECT_EQ(clipboard(), QStringLiteral("kept")) << "an empty live translation copies nothing";

    snapshot.committedCards = {card("1", "a", "x"), card("2", " b\n", "y")};
    host(snapshot);
    EXPECT_TRUE(copyAll->isEnabled());
    QTest::mouseClick(copyAll, Qt::LeftButton);
    EXPECT_EQ(clipboard(), QStringLiteral("a\n b"));
    QTest::mouseClick(copyLatest, Qt::LeftButton);
    EXPECT_EQ(clipboard(), QStringLiteral("b"));
    snapshot.committedCards = {card("1", "    ", "source")};
    host(snapshot);
    QTest::mouseClick(copyAll, Qt::LeftButton);
    EXPECT_EQ(clipboard(), QStringLiteral("b")) << "a blank result leaves the clipboard alone";
}

} // namespace
