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
using Kind = LiveTranslationHelperCommand::Kind;

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

    // The host's answer: the model takes the snapshot and the footer renders it.
    void host(const LiveTranslationHelperSnapshot &snapshot)
    {
        recording.model.applySnapshot(snapshot);
        footer.render(recording.model.snapshot(), LiveTranslationPalette::dark());
    }
    QCheckBox *toggle() const
    {
        return footer.findChild<QCheckBox *>(QStringLiteral("liveTranslation.showSourceToggle"));
    }
    QPushButton *button(const char *name) const
    {
        return footer.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    void press(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }

    RecordingModel recording;
    LiveTranslationCaptionsFooter footer;
};

TEST_F(CaptionsFooterTest, EachChangeOfTheToggleSendsOneCommandAndTheSnapshotDecidesWhatShows)
{
    ASSERT_NE(toggle(), nullptr);
    EXPECT_EQ(toggle()->text(), QStringLiteral("Original"));
    EXPECT_TRUE(toggle()->isChecked());

    QTest::mouseClick(toggle(), Qt::LeftButton);
    ASSERT_EQ(recording.commands.size(), 1u);
    EXPECT_EQ(recording.commands[0], LiveTranslationHelperCommand::setShowsSourceText(false));
    EXPECT_TRUE(toggle()->isChecked()) << "stays at the snapshot's value until the host answers";

    toggle()->setFocus();
    QTest::keyClick(toggle(), Qt::Key_Space);
    ASSERT_EQ(recording.commands.size(), 2u);
    EXPECT_EQ(recording.commands[1], LiveTranslationHelperCommand::setShowsSourceText(false));

    // Assistive technology toggles through the toggle action, which emits no click.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(toggle());
    ASSERT_NE(iface->actionInterface(), nullptr);
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    ASSERT_EQ(recording.commands.size(), 3u);
    EXPECT_EQ(recording.commands[2], LiveTranslationHelperCommand::setShowsSourceText(false));

    LiveTranslationHelperSnapshot hidden;
    hidden.showsSourceText = false;
    host(hidden);
    EXPECT_FALSE(toggle()->isChecked());
    EXPECT_EQ(recording.commands.size(), 3u) << "the host's value sends nothing back";
    QTest::mouseClick(toggle(), Qt::LeftButton);
    ASSERT_EQ(recording.commands.size(), 4u);
    EXPECT_EQ(recording.commands[3], LiveTranslationHelperCommand::setShowsSourceText(true));
    EXPECT_FALSE(toggle()->isChecked());
}

TEST_F(CaptionsFooterTest, TheNoteSaysWhatTheCardsShow)
{
    auto *note = footer.findChild<QLabel *>(QStringLiteral("liveTranslation.showSourceNote"));
    ASSERT_NE(note, nullptr);
    host({});
    EXPECT_EQ(note->text(),
        QStringLiteral("Original and translation remain paired to the same revision."));
    LiveTranslationHelperSnapshot hidden;
    hidden.showsSourceText = false;
    host(hidden);
    EXPECT_EQ(note->text(),
        QStringLiteral("Showing translations only. Originals remain "
                       "available when re-enabled."));
}

TEST_F(CaptionsFooterTest, CopyButtonsAreEnabledByWhatThereIsToCopyAndCopyWhatTheRulesGive)
{
    host({});
    EXPECT_FALSE(button("liveTranslation.copyLatestButton")->isEnabled());
    EXPECT_FALSE(button("liveTranslation.copyAllButton")->isEnabled());

    LiveTranslationHelperSnapshot live;
    live.activeTranslatedText = "";
    host(live);
    EXPECT_TRUE(button("liveTranslation.copyLatestButton")->isEnabled());
    EXPECT_FALSE(button("liveTranslation.copyAllButton")->isEnabled());
    press("liveTranslation.copyLatestButton");
    EXPECT_EQ(clipboard(), QStringLiteral("kept")) << "an empty live translation copies nothing";

    auto snapshot = withCards(0);
    snapshot.committedCards = {card("1", "a", "x"), card("2", "", "y"), card("3", " b\n", "z")};
    snapshot.activeTranslatedText = "live";
    host(snapshot);
    EXPECT_TRUE(button("liveTranslation.copyAllButton")->isEnabled());
    press("liveTranslation.copyAllButton");
    EXPECT_EQ(clipboard(), QStringLiteral("a\n\n b"));
    press("liveTranslation.copyLatestButton");
    EXPECT_EQ(clipboard(), QStringLiteral("b"));

    // Blank results leave the clipboard alone.
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    snapshot.committedCards = {card("1", "    ", "source")};
    host(snapshot);
    press("liveTranslation.copyAllButton");
    press("liveTranslation.copyLatestButton");
    EXPECT_EQ(clipboard(), QStringLiteral("kept"));
}

} // namespace
