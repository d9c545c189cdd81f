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

TEST_P(Pickers, EachButtonFlipsItsPickerUnderItAndEscapeOrTheOtherButtonClosesIt)
{
    QAbstractButton *pair = view->languagePairButton();
    open(languages, languagesAndSources());
    EXPECT_TRUE(view->viewState()->languagesPresented());
    EXPECT_EQ(languages->anchor(), pair);
    EXPECT_EQ(languages->accessibleName(), QStringLiteral("Languages"));
    EXPECT_EQ(languagePicker->size(), QSize(470, 360));
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(view->viewState()->languagesPresented());
    click(pair);
    EXPECT_TRUE(languages->isVisible());
    click(pair);
    EXPECT_FALSE(languages->isVisible());
    EXPECT_FALSE(view->viewState()->languagesPresented());
    click(pair);
    click(view->audioSourceButton());
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_TRUE(view->viewState()->audioPresented());
    EXPECT_EQ(audio->anchor(), view->audioSourceButton());
    EXPECT_EQ(audioPicker->size(), QSize(320, 330));
    // "Audio source" is read once on opening: by the popover, not again by its list.
    EXPECT_EQ(audio->accessibleName(), QStringLiteral("Audio source"));
    EXPECT_EQ(audioPicker->list()->accessibleName(), QString());
    EXPECT_TRUE(recorder.commands.empty());
}

TEST_P(Pickers, AnAudioChoiceAfterTheSessionStartedClosesThePickerAndTheFocusGoesToThePair)
{
    auto snapshot = languagesAndSources();
    open(audio, snapshot);
    snapshot.isSessionActive = true;
    apply(snapshot);
    EXPECT_FALSE(view->audioSourceButton()->isEnabled());
    // The toolkit hands the panel's focus to a neighbour of the disabled button meanwhile.
    button("stopButton")->setFocus(Qt::OtherFocusReason);
    click(row(kAudio + "bundle:a"));
    EXPECT_FALSE(audio->isVisible());
    EXPECT_FALSE(view->viewState()->audioPresented());
    EXPECT_TRUE(QTest::qWaitFor([this] { return focused() == view->languagePairButton(); }));
    EXPECT_EQ(recorder.sent(), Strings {"set_audio_source:bundle:a"});
}

TEST_P(Pickers, TheSchemeReachesOpenPickersAndClosedOnesWhenTheyOpen)
{
    auto snapshot = languagesAndSources();
    open(audio, snapshot);
    pressKey(Qt::Key_Escape);
    view->setColorScheme(LiveTranslationColorScheme::dark);
    click(view->audioSourceButton());
    LiveTranslationPickerRow *chosen = row(kAudio + "mac-audio");
    EXPECT_EQ(chosen->colors(), LiveTranslationPalette::dark());
    EXPECT_FALSE(chosen->showsFocusRing()); // opened by the mouse
    // The audio rows are selectable for assistive technology.
    snapshot.selectedAudioSourceID = "bundle:a";
    apply(snapshot);
    const auto state = QAccessible::queryAccessibleInterface(row(kAudio + "bundle:a"))->state();
    EXPECT_TRUE(state.selectable);
    EXPECT_TRUE(state.selected);
    pressKey(Qt::Key_Escape);
    open(languages, snapshot);
    view->setColorScheme(LiveTranslationColorScheme::light);
    EXPECT_EQ(row(kFrom + "l5")->colors(), LiveTranslationPalette::light());
    // Opened from the keyboard, the focused row shows its ring at once.
    pressKey(Qt::Key_Escape);
    ASSERT_TRUE(waitUntilActive(&window));
    view->audioSourceButton()->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(waitUntilActive(audio));
    EXPECT_TRUE(qobject_cast<LiveTranslationPickerRow *>(focused())->showsFocusRing());
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
}

INSTANTIATE_TEST_SUITE_P(Light, Pickers, ::testing::Values(LiveTranslationColorScheme::light));

} // namespace
