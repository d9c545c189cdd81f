#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

LiveTranslationHelperSnapshot languagesAndSources()
{
    auto snapshot = withLanguages(12, "l1", "l2");
    snapshot.audioSources = {{"mac-audio", "M"}, {"bundle:a", "A"}};
    snapshot.selectedAudioSourceID = "mac-audio";
    return snapshot;
}

TEST_P(Pickers, PairButtonOpensTheLanguagePickerUnderItAndEscapeClosesIt)
{
    QWidget *pair = view->languagePairButton();
    open(languages, languagesAndSources());
    EXPECT_TRUE(view->viewState()->languagesPresented());
    EXPECT_EQ(languages->anchor(), pair);
    EXPECT_EQ(languages->accessibleName(), QStringLiteral("Languages"));
    EXPECT_EQ(languages->arrowTip().x(), pair->mapToGlobal(pair->rect().center()).x());
    EXPECT_EQ(focused(), languagePicker->searchField());
    EXPECT_EQ(languagePicker->size(), QSize(470, 360));
    QTest::keyClicks(languagePicker->searchField(), QStringLiteral("0003"));
    click(row(kTo + "l3"));
    EXPECT_TRUE(languages->isVisible());
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(languages->isVisible());
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_EQ(view->viewState()->languageSearch(), QStringLiteral("0003"));
    // The button flips the flag; a press on the other button closes it and opens the other.
    click(pair);
    EXPECT_TRUE(languages->isVisible());
    click(pair);
    EXPECT_FALSE(view->viewState()->languagesPresented());
    click(pair);
    click(view->audioSourceButton());
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_TRUE(view->viewState()->audioPresented());
    EXPECT_EQ(recorder.sent(), Strings {"set_target_language:l3"});
}

TEST_P(Pickers, AudioChoiceClosesThePopoverAndResetsTheFlag)
{
    open(audio, languagesAndSources());
    EXPECT_EQ(audio->anchor(), view->audioSourceButton());
    EXPECT_EQ(audioPicker->size(), QSize(320, 330));
    // "Audio source" is read once on opening: by the popover, not again by its list.
    EXPECT_EQ(audio->accessibleName(), QStringLiteral("Audio source"));
    EXPECT_EQ(audioPicker->list()->accessibleName(), QString());
    // A session starting while it is open leaves the list usable.
    auto snapshot = languagesAndSources();
    snapshot.isSessionActive = true;
    apply(snapshot);
    EXPECT_FALSE(view->audioSourceButton()->isEnabled());
    // The toolkit hands the panel's focus to a neighbour of the disabled button meanwhile.
    findNamed(view, "liveTranslation.stopButton")->setFocus(Qt::OtherFocusReason);
    click(row(kAudio + "bundle:a"));
    EXPECT_FALSE(audio->isVisible());
    EXPECT_FALSE(view->viewState()->audioPresented());
    // Its disabled button cannot take the focus back: the pair button does.
    EXPECT_TRUE(QTest::qWaitFor([this] { return focused() == view->languagePairButton(); }));
    EXPECT_EQ(recorder.sent(), Strings {"set_audio_source:bundle:a"});
}

TEST_P(Pickers, SnapshotsAndTheSchemeReachOpenPickers)
{
    auto snapshot = languagesAndSources();
    open(languages, snapshot);
    LiveTranslationPickerRow *from = row(kFrom + "l5");
    EXPECT_FALSE(from->isSelected());
    snapshot.sourceLanguage = "l5";
    apply(snapshot);
    EXPECT_TRUE(from->isSelected());
    view->setColorScheme(LiveTranslationColorScheme::dark);
    EXPECT_EQ(from->colors(), LiveTranslationPalette::dark());
    // The audio rows are selectable for assistive technology.
    pressKey(Qt::Key_Escape);
    click(view->audioSourceButton());
    LiveTranslationPickerRow *a = row(kAudio + "bundle:a");
    EXPECT_FALSE(a->isSelected());
    snapshot.selectedAudioSourceID = "bundle:a";
    apply(snapshot);
    const QAccessible::State state = QAccessible::queryAccessibleInterface(a)->state();
    EXPECT_TRUE(state.selectable);
    EXPECT_TRUE(state.selected);
}

TEST_P(Pickers, ASchemeChangedWhileAPickerIsClosedReachesItsRowsWhenItOpens)
{
    apply(languagesAndSources());
    // Opened from the keyboard, the focused row shows its ring at once.
    view->audioSourceButton()->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(waitUntilActive(audio));
    auto *keyboardRow = qobject_cast<LiveTranslationPickerRow *>(focused());
    ASSERT_NE(keyboardRow, nullptr);
    EXPECT_TRUE(keyboardRow->showsFocusRing());
    pressKey(Qt::Key_Escape);
    view->setColorScheme(LiveTranslationColorScheme::dark);
    click(view->audioSourceButton());
    LiveTranslationPickerRow *chosen = row(kAudio + "mac-audio");
    EXPECT_TRUE(chosen->isSelected());
    EXPECT_EQ(chosen->colors(), LiveTranslationPalette::dark());
    EXPECT_FALSE(chosen->showsFocusRing()); // opened by the mouse
}

TEST_P(Pickers, HidingThePanelClosesBothPickers)
{
    open(audio, languagesAndSources());
    window.hide();
    EXPECT_FALSE(audio->isVisible());
    EXPECT_FALSE(view->viewState()->audioPresented());
    window.show();
    click(view->languagePairButton());
    EXPECT_TRUE(view->viewState()->languagesPresented());
    window.hide();
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_TRUE(recorder.commands.empty());
}

INSTANTIATE_TEST_SUITE_P(Light, Pickers, ::testing::Values(LiveTranslationColorScheme::light));

} // namespace
