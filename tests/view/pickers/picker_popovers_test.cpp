#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "pickers/audio_picker.hpp"
#include "pickers/language_picker.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/picker_rows.hpp"
#include "pickers/popover.hpp"
#include "root_view.hpp"
#include "view_test_support.hpp"

namespace {

using viewtest::click;
using viewtest::findNamed;
using Strings = std::vector<std::string>;

class PickerPopoversTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto snapshot = viewtest::withLanguages(12, "l1", "l2");
        snapshot.audioSources = {{"mac-audio", "M"}, {"bundle:a", "A"}};
        snapshot.selectedAudioSourceID = "mac-audio";
        recorder.model.applySnapshot(snapshot);
        view = new LiveTranslationHelperView(&recorder.model);
        view->resize(720, 420);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
        languages = view->findChild<LiveTranslationPopover *>("liveTranslation.languagePopover");
        audio = view->findChild<LiveTranslationPopover *>("liveTranslation.audioSourcePopover");
        ASSERT_NE(languages, nullptr);
        ASSERT_NE(audio, nullptr);
    }

    void TearDown() override { delete view; }

    QAbstractButton *pairButton() const { return view->languagePairButton(); }
    QAbstractButton *audioButton() const { return view->audioSourceButton(); }
    QWidget *named(const char *name) const { return findNamed(view, QString::fromUtf8(name)); }

    viewtest::RecordingModel recorder;
    LiveTranslationHelperView *view = nullptr;
    LiveTranslationPopover *languages = nullptr;
    LiveTranslationPopover *audio = nullptr;
};

TEST_F(PickerPopoversTest, PairButtonOpensTheLanguagePickerUnderItAndEscapeClosesIt)
{
    EXPECT_FALSE(languages->isVisible());
    click(pairButton());
    EXPECT_TRUE(view->viewState()->languagesPresented());
    ASSERT_TRUE(viewtest::waitUntilActive(languages));
    EXPECT_EQ(languages->anchor(), pairButton());
    EXPECT_EQ(
        languages->arrowTip().x(), pairButton()->mapToGlobal(pairButton()->rect().center()).x());
    auto *picker = languages->findChild<LiveTranslationLanguagePicker *>();
    EXPECT_EQ(QApplication::focusWidget(), picker->searchField());
    EXPECT_EQ(picker->size(),
        QSize(LiveTranslationLanguagePicker::kWidth, LiveTranslationLanguagePicker::kHeight));

    QTest::keyClicks(picker->searchField(), QStringLiteral("0003"));
    click(named("liveTranslation.targetLanguagePicker.option.l3"));
    EXPECT_TRUE(languages->isVisible());
    viewtest::pressKey(Qt::Key_Escape);
    EXPECT_FALSE(languages->isVisible());
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_EQ(view->viewState()->languageSearch(), QStringLiteral("0003"));

    // The button flips the flag: open, then closed again.
    click(pairButton());
    EXPECT_TRUE(languages->isVisible());
    EXPECT_EQ(picker->searchField()->text(), QStringLiteral("0003"));
    click(pairButton());
    EXPECT_FALSE(languages->isVisible());
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_EQ(recorder.sent(), Strings {"set_target_language:l3"});
}

TEST_F(PickerPopoversTest, AudioChoiceClosesThePopoverAndResetsTheFlag)
{
    click(audioButton());
    EXPECT_TRUE(view->viewState()->audioPresented());
    EXPECT_TRUE(audio->isVisible());
    EXPECT_EQ(audio->anchor(), audioButton());
    // "Audio source" is read once on opening: by the popover, not again by its list.
    EXPECT_EQ(audio->accessibleName(), QStringLiteral("Audio source"));
    EXPECT_EQ(audio->findChild<LiveTranslationLazyList *>()->accessibleName(), QString());
    // A session starting while it is open leaves the list usable.
    auto snapshot = recorder.model.snapshot();
    snapshot.isSessionActive = true;
    recorder.model.applySnapshot(snapshot);
    EXPECT_FALSE(audioButton()->isEnabled());
    // The toolkit hands the panel's focus to a neighbour of the disabled button meanwhile.
    named("liveTranslation.stopButton")->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(named("liveTranslation.audioSourcePicker.option.bundle:a")->isEnabled());
    click(named("liveTranslation.audioSourcePicker.option.bundle:a"));
    EXPECT_FALSE(audio->isVisible());
    EXPECT_FALSE(view->viewState()->audioPresented());
    // Its disabled button cannot take the focus back: the pair button does.
    EXPECT_EQ(QApplication::focusWidget(), pairButton());
    EXPECT_EQ(recorder.sent(), Strings {"set_audio_source:bundle:a"});
}

TEST_F(PickerPopoversTest, SnapshotsRedrawOpenPickersAndTheSchemeReachesThem)
{
    click(pairButton());
    auto fromL5 = [this] {
        return qobject_cast<LiveTranslationPickerRow *>(
            named("liveTranslation.sourceLanguagePicker.option.l5"));
    };
    ASSERT_NE(fromL5(), nullptr);
    EXPECT_FALSE(fromL5()->isSelected());
    auto snapshot = recorder.model.snapshot();
    snapshot.generation += 1;
    snapshot.sourceLanguage = "l5";
    recorder.model.applySnapshot(snapshot);
    EXPECT_TRUE(fromL5()->isSelected());
    view->setColorScheme(LiveTranslationColorScheme::dark);
    EXPECT_EQ(fromL5()->colors(), LiveTranslationPalette::dark());

    // The audio picker too, while it is open; its rows are selectable for assistive technology.
    viewtest::pressKey(Qt::Key_Escape);
    click(audioButton());
    ASSERT_TRUE(audio->isVisible());
    QWidget *a = named("liveTranslation.audioSourcePicker.option.bundle:a");
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(qobject_cast<LiveTranslationAudioRow *>(a)->isSelected());
    snapshot.generation += 1;
    snapshot.selectedAudioSourceID = "bundle:a";
    recorder.model.applySnapshot(snapshot);
    EXPECT_TRUE(qobject_cast<LiveTranslationAudioRow *>(a)->isSelected());
    const QAccessible::State state = QAccessible::queryAccessibleInterface(a)->state();
    EXPECT_TRUE(state.selectable);
    EXPECT_TRUE(state.selected);
}

TEST_F(PickerPopoversTest, ASchemeChangedWhileAPickerIsClosedReachesItsRowsWhenItOpens)
{
    // Opened from the keyboard, the focused row shows its ring at once.
    audioButton()->setFocus(Qt::TabFocusReason);
    viewtest::pressKey(Qt::Key_Space);
    ASSERT_TRUE(viewtest::waitUntilActive(audio));
    auto *keyboardRow = qobject_cast<LiveTranslationPickerRow *>(QApplication::focusWidget());
    ASSERT_NE(keyboardRow, nullptr);
    EXPECT_TRUE(keyboardRow->showsFocusRing());
    viewtest::pressKey(Qt::Key_Escape);
    ASSERT_FALSE(audio->isVisible());
    view->setColorScheme(LiveTranslationColorScheme::dark);
    click(audioButton());
    auto *chosen = qobject_cast<LiveTranslationPickerRow *>(
        named("liveTranslation.audioSourcePicker.option.mac-audio"));
    ASSERT_NE(chosen, nullptr);
    EXPECT_TRUE(chosen->isSelected());
    EXPECT_EQ(chosen->colors(), LiveTranslationPalette::dark());
    EXPECT_FALSE(chosen->showsFocusRing()); // opened by the mouse
}

TEST_F(PickerPopoversTest, HidingThePanelClosesBothPickers)
{
    click(audioButton());
    view->hide();
    EXPECT_FALSE(audio->isVisible());
    EXPECT_FALSE(view->viewState()->audioPresented());
    view->show();
    click(pairButton());
    EXPECT_TRUE(view->viewState()->languagesPresented());
    view->hide();
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_TRUE(recorder.commands.empty());
}

} // namespace
