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

INSTANTIATE_TEST_SUITE_P(Light, Pickers, ::testing::Values(LiveTranslationColorScheme::light));

} // namespace
