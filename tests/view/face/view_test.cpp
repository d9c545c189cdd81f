#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

TEST_P(PanelFace, TheInitialSnapshotShowsConnectingWithADisabledStart)
{
    EXPECT_EQ(view->findChild<QLabel *>()->text(), QStringLiteral("Live Translate"));
    EXPECT_EQ(dotColour(), palette.tertiaryText);
    EXPECT_LE(statusInk(palette.secondaryText), 8);
    const std::vector<std::tuple<const char *, const char *, const char *>> controls {
        {"liveTranslation.lifecycleStatus", "Live Translation status", "Connecting to Tavu"},
        {"liveTranslation.languagePair", "Languages", "AUTO → EN"},
        {"liveTranslation.audioSourcePicker", "Audio source", "Mac Audio"}, // what is captured
        {"liveTranslation.startButton", "Start Live Translate", nullptr},
        {"liveTranslation.hideButton", "Close Live Translate", nullptr}};
    for (const auto &[identifier, name, value] : controls) {
        EXPECT_EQ(accessibleText(identifier, QAccessible::Name), QString::fromUtf8(name));
        if (value)
            EXPECT_EQ(accessibleText(identifier, QAccessible::Value), QString::fromUtf8(value));
    }
    EXPECT_TRUE(button("liveTranslation.audioSourcePicker")->isEnabled());
    EXPECT_FALSE(button("liveTranslation.startButton")->isEnabled());
    EXPECT_EQ(button("liveTranslation.startButton")->text(), QStringLiteral("Start"));
    EXPECT_EQ(button("liveTranslation.hideButton")->size(), QSize(24, 24));
    EXPECT_FALSE(shows("liveTranslation.cancelButton"));
    EXPECT_FALSE(shows("liveTranslation.stopButton"));
    EXPECT_FALSE(showsLimitCard());
}

TEST_P(PanelFace, TheLifecycleAndAFailureColourTheDotAndTheText)
{
    for (Lifecycle lifecycle : {Lifecycle::preparing, Lifecycle::connecting,
             Lifecycle::reconnecting, Lifecycle::stopping}) {
        apply(active(lifecycle));
        EXPECT_EQ(dotColour(), palette.warning) << wireName(lifecycle);
    }
    EXPECT_TRUE(button("liveTranslation.cancelButton")->isEnabled());
    EXPECT_FALSE(button("liveTranslation.stopButton")->isEnabled());
    EXPECT_FALSE(shows("liveTranslation.startButton"));
    EXPECT_FALSE(button("liveTranslation.audioSourcePicker")->isEnabled());
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    apply(s);
    EXPECT_EQ(dotColour(), palette.accent);
    s.hasFailure = true;
    apply(s);
    EXPECT_EQ(dotColour(), palette.warning);
    EXPECT_LE(statusInk(palette.warning), 8);
    EXPECT_GT(statusInk(palette.secondaryText), 30);
    EXPECT_TRUE(shows("liveTranslation.stopButton")); // only the session decides the buttons
    s = {};
    s.lifecycle = Lifecycle::inactive;
    s.statusMessage = "Stopped";
    apply(s);
    EXPECT_EQ(dotColour(), palette.tertiaryText);
    EXPECT_LE(statusInk(palette.secondaryText), 8);
}

TEST_P(PanelFace, TheLimitOutsideASessionOffersTryAgainAndTheCardWhoseButtonAlwaysSends)
{
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    s.canRequestMoreTime = true;
    apply(s);
    EXPECT_FALSE(showsLimitCard());
    s = {};
    s.canRequestMoreTime = true;
    s.isStartEnabled = true;
    apply(s);
    EXPECT_TRUE(showsLimitCard());
    EXPECT_EQ(button("liveTranslation.startButton")->text(), QStringLiteral("Try again"));
    EXPECT_EQ(accessibleText("liveTranslation.startButton", QAccessible::Name),
        QStringLiteral("Try Live Translate again"));
    EXPECT_EQ(accessibleText("liveTranslation.requestMoreTimeButton", QAccessible::Name),
        QStringLiteral("Request more Live Translate time"));
    // One request per press, and nothing changes until the host answers.
    click("liveTranslation.requestMoreTimeButton");
    QTest::keyClick(button("liveTranslation.requestMoreTimeButton"), Qt::Key_Space);
    EXPECT_EQ(
        recorder.events, (std::vector<std::string> {"request_more_time", "request_more_time"}));
    EXPECT_TRUE(showsLimitCard());
    for (bool failure : {false, true}) {
        LiveTranslationHelperSnapshot idle;
        idle.hasFailure = failure;
        apply(idle);
        EXPECT_FALSE(showsLimitCard());
        EXPECT_EQ(button("liveTranslation.startButton")->text(), QStringLiteral("Start"));
    }
}

TEST_P(PanelFace, EachButtonSendsItsCommandUnlessDisabledAndCloseStopsARunningSession)
{
    LiveTranslationHelperSnapshot idle;
    idle.isStartEnabled = true;
    apply(idle);
    click("liveTranslation.startButton");
    apply(active(Lifecycle::listening));
    click("liveTranslation.stopButton");
    click("liveTranslation.cancelButton");
    apply(active(Lifecycle::stopping));
    click("liveTranslation.stopButton");
    EXPECT_EQ(button("liveTranslation.hideButton")->toolTip(),
        QStringLiteral("Stop translation and close"));
    click("liveTranslation.hideButton");
    apply({});
    click("liveTranslation.startButton");
    EXPECT_EQ(
        button("liveTranslation.hideButton")->toolTip(), QStringLiteral("Close Live Translate"));
    click("liveTranslation.hideButton");
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> {
            "start", "stop", "cancel", "stop", "<hide panel>", "hide", "<hide panel>", "hide"}));
}

// The focus goes where the pressed control was, never to a neighbour that does something else.
TEST_P(PanelFace, TheFocusMovesToTheControlThatTakesThePlaceOfTheOneThatWent)
{
    const auto focused = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    LiveTranslationHelperSnapshot idle;
    idle.isStartEnabled = true;
    apply(idle);
    button("liveTranslation.startButton")->setFocus();
    apply(active(Lifecycle::listening));
    EXPECT_EQ(focused(), QStringLiteral("liveTranslation.stopButton"));
    apply(active(Lifecycle::stopping));
    EXPECT_EQ(focused(), QStringLiteral("liveTranslation.languagePair"));
    apply(active(Lifecycle::listening));
    button("liveTranslation.cancelButton")->setFocus();
    apply(idle);
    EXPECT_EQ(focused(), QStringLiteral("liveTranslation.startButton"));
    button("liveTranslation.audioSourcePicker")->setFocus();
    apply(active(Lifecycle::listening));
    EXPECT_EQ(focused(), QStringLiteral("liveTranslation.languagePair"));
}

TEST_P(PanelFace, HostTextIsPlainAndAHugeStatusIsOnlyStartedInItsHelp)
{
    LiveTranslationHelperSnapshot s;
    s.statusMessage = "<b>x</b> <img src=\"y\">";
    s.audioSources = {{"a", "<i>App</i> & Co"}};
    s.selectedAudioSourceID = "a";
    apply(s);
    auto *status = control<LiveTranslationStatusText>("liveTranslation.lifecycleStatus");
    EXPECT_EQ(status->text(), QStringLiteral("<b>x</b> <img src=\"y\">"));
    EXPECT_EQ(control<LiveTranslationCapsuleButton>("liveTranslation.audioSourcePicker")->title(),
        QStringLiteral("<i>App</i> & Co"));
    for (QLabel *label : view->findChildren<QLabel *>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    // An ampersand in a host title is no keyboard shortcut.
    EXPECT_TRUE(button("liveTranslation.audioSourcePicker")->shortcut().isEmpty());
    s.statusMessage = std::string(1000000, 'm');
    apply(s);
    EXPECT_EQ(status->text().size(), 1000000);
    EXPECT_LE(status->toolTip().size(), 1100);
    s.statusMessage.clear();
    apply(s);
    EXPECT_EQ(accessibleText("liveTranslation.lifecycleStatus", QAccessible::Value), QString());
    EXPECT_GT(status->height(), 0);
}

TEST_P(PanelFace, AnUnchangedSnapshotRepaintsNothingAndTheOtherSchemeEveryArea)
{
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    apply(s);
    PaintCounter paints(view);
    apply(s);
    EXPECT_EQ(paints.count(), 0);
    s.statusMessage = "Listening again";
    apply(s);
    EXPECT_GT(paints.count(), 0);

    const auto other = GetParam() == LiveTranslationColorScheme::dark
        ? LiveTranslationColorScheme::light
        : LiveTranslationColorScheme::dark;
    const auto otherPalette = LiveTranslationPalette::forScheme(other);
    view->setColorScheme(other);
    QApplication::processEvents();
    const QImage image = grab(view);
    EXPECT_EQ(pixelAt(image, QPointF(5, 5)), otherPalette.background);
    EXPECT_EQ(dotColour(), otherPalette.accent);
    EXPECT_EQ(pixelAt(image, QPointF(260, 400)), otherPalette.background);
    const QWidget *footer = control<QWidget>("liveTranslation.footer");
    EXPECT_EQ(pixelAt(image, QPointF(5, footer->y() - 0.5)), otherPalette.border);
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, PanelFace,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

} // namespace
