#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

TEST_P(PanelFace, TheInitialSnapshotShowsConnectingWithADisabledStart)
{
    auto *title = view->findChild<QLabel *>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Live Translate"));
    EXPECT_EQ(dotColour(), palette.tertiaryText);
    EXPECT_EQ(accessibleText("liveTranslation.lifecycleStatus", QAccessible::Value),
        QStringLiteral("Connecting to Tavu"));
    EXPECT_EQ(accessibleText("liveTranslation.lifecycleStatus", QAccessible::Name),
        QStringLiteral("Live Translation status"));
    EXPECT_LE(statusInk(palette.secondaryText), 8);
    EXPECT_GT(statusInk(palette.warning), 30);

    EXPECT_TRUE(button("liveTranslation.audioSourcePicker")->isEnabled());
    EXPECT_EQ(accessibleText("liveTranslation.audioSourcePicker", QAccessible::Value),
        QStringLiteral("Mac Audio")); // no options yet: what the host captures
    EXPECT_EQ(accessibleText("liveTranslation.languagePair", QAccessible::Value),
        QStringLiteral("AUTO → EN"));
    EXPECT_EQ(accessibleText("liveTranslation.languagePair", QAccessible::Name),
        QStringLiteral("Languages"));
    EXPECT_EQ(accessibleText("liveTranslation.audioSourcePicker", QAccessible::Name),
        QStringLiteral("Audio source"));

    QAbstractButton *start = button("liveTranslation.startButton");
    EXPECT_TRUE(start->isVisible());
    EXPECT_FALSE(start->isEnabled());
    EXPECT_EQ(start->text(), QStringLiteral("Start"));
    EXPECT_EQ(accessibleText("liveTranslation.startButton", QAccessible::Name),
        QStringLiteral("Start Live Translate"));
    EXPECT_FALSE(shows("liveTranslation.cancelButton"));
    EXPECT_FALSE(shows("liveTranslation.stopButton"));
    EXPECT_FALSE(showsLimitCard());
}

TEST_P(PanelFace, StoppingShowsAnEnabledCancelADisabledStopAndAWarningDot)
{
    apply(active(Lifecycle::stopping));
    EXPECT_TRUE(shows("liveTranslation.cancelButton"));
    EXPECT_TRUE(button("liveTranslation.cancelButton")->isEnabled());
    EXPECT_TRUE(shows("liveTranslation.stopButton"));
    EXPECT_FALSE(button("liveTranslation.stopButton")->isEnabled());
    EXPECT_FALSE(shows("liveTranslation.startButton"));
    EXPECT_FALSE(button("liveTranslation.audioSourcePicker")->isEnabled());
    EXPECT_EQ(dotColour(), palette.warning);

    apply(active(Lifecycle::listening));
    EXPECT_TRUE(button("liveTranslation.stopButton")->isEnabled());
    EXPECT_EQ(dotColour(), palette.accent);
}

TEST_P(PanelFace, EveryChangingLifecycleIsAWarningAndInactiveIsTertiary)
{
    for (Lifecycle lifecycle :
        {Lifecycle::preparing, Lifecycle::connecting, Lifecycle::reconnecting}) {
        apply(active(lifecycle));
        EXPECT_EQ(dotColour(), palette.warning) << wireName(lifecycle);
    }
    LiveTranslationHelperSnapshot inactive;
    inactive.lifecycle = Lifecycle::inactive;
    apply(inactive);
    EXPECT_EQ(dotColour(), palette.tertiaryText);
}

TEST_P(PanelFace, AFailureColoursDotAndTextEvenWhileListening)
{
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    s.hasFailure = true;
    s.statusMessage = "Connection lost";
    apply(s);
    EXPECT_EQ(dotColour(), palette.warning);
    EXPECT_LE(statusInk(palette.warning), 8);
    EXPECT_GT(statusInk(palette.secondaryText), 30);
    // Only the session decides the buttons: a failure still shows Cancel and Stop.
    EXPECT_TRUE(shows("liveTranslation.stopButton"));

    s.hasFailure = false;
    s.lifecycle = Lifecycle::inactive;
    s.isSessionActive = false;
    apply(s);
    EXPECT_EQ(dotColour(), palette.tertiaryText);
    EXPECT_LE(statusInk(palette.secondaryText), 8);
}

TEST_P(PanelFace, TheLimitOutsideASessionOffersTryAgainAndTheCardWhoseButtonAlwaysSends)
{
    LiveTranslationHelperSnapshot s;
    s.canRequestMoreTime = true;
    s.isStartEnabled = true;
    apply(s);
    QAbstractButton *start = button("liveTranslation.startButton");
    EXPECT_EQ(start->text(), QStringLiteral("Try again"));
    EXPECT_EQ(accessibleText("liveTranslation.startButton", QAccessible::Name),
        QStringLiteral("Try Live Translate again"));
    EXPECT_TRUE(showsLimitCard());
    EXPECT_TRUE(shows("liveTranslation.requestMoreTimeButton"));
    EXPECT_EQ(accessibleText("liveTranslation.requestMoreTimeButton", QAccessible::Name),
        QStringLiteral("Request more Live Translate time"));

    click("liveTranslation.startButton");
    // One request per press, and the button stays enabled.
    click("liveTranslation.requestMoreTimeButton");
    click("liveTranslation.requestMoreTimeButton");
    QTest::keyClick(button("liveTranslation.requestMoreTimeButton"), Qt::Key_Space);
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> {
            "start", "request_more_time", "request_more_time", "request_more_time"}));
    EXPECT_TRUE(button("liveTranslation.requestMoreTimeButton")->isEnabled());
    // Nothing changes until the host answers.
    EXPECT_TRUE(showsLimitCard());
    EXPECT_EQ(start->text(), QStringLiteral("Try again"));
}

TEST_P(PanelFace, TheCardNeedsTheLimitAndNoSession)
{
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    s.canRequestMoreTime = true;
    apply(s);
    EXPECT_FALSE(showsLimitCard());
    EXPECT_TRUE(shows("liveTranslation.cancelButton"));
    EXPECT_TRUE(shows("liveTranslation.stopButton"));

    for (bool failure : {false, true}) {
        LiveTranslationHelperSnapshot idle;
        idle.hasFailure = failure;
        idle.canRequestMoreTime = false;
        idle.isStartEnabled = true;
        apply(idle);
        EXPECT_FALSE(showsLimitCard());
        EXPECT_EQ(button("liveTranslation.startButton")->text(), QStringLiteral("Start"));
    }
}

TEST_P(PanelFace, EachSessionButtonSendsItsCommand)
{
    LiveTranslationHelperSnapshot idle;
    idle.isStartEnabled = true;
    apply(idle);
    click("liveTranslation.startButton");
    apply(active(Lifecycle::listening));
    click("liveTranslation.stopButton");
    click("liveTranslation.cancelButton");
    EXPECT_EQ(recorder.events, (std::vector<std::string> {"start", "stop", "cancel"}));

    // A disabled button sends nothing.
    apply(active(Lifecycle::stopping));
    click("liveTranslation.stopButton");
    apply(LiveTranslationHelperSnapshot {});
    click("liveTranslation.startButton");
    EXPECT_EQ(recorder.events.size(), 3U);
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
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
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

TEST_P(PanelFace, CloseHidesAloneOrStopsFirstWithItsHoverHelp)
{
    QAbstractButton *close = button("liveTranslation.hideButton");
    EXPECT_EQ(close->toolTip(), QStringLiteral("Close Live Translate"));
    EXPECT_EQ(accessibleText("liveTranslation.hideButton", QAccessible::Name),
        QStringLiteral("Close Live Translate"));
    EXPECT_EQ(close->size(), QSize(24, 24));
    click("liveTranslation.hideButton");
    EXPECT_EQ(recorder.events, (std::vector<std::string> {"<hide panel>", "hide"}));

    recorder.events.clear();
    apply(active(Lifecycle::stopping));
    EXPECT_EQ(close->toolTip(), QStringLiteral("Stop translation and close"));
    click("liveTranslation.hideButton");
    EXPECT_EQ(recorder.events, (std::vector<std::string> {"stop", "<hide panel>", "hide"}));
}

TEST_P(PanelFace, TheCapsulesFlipTheirFlagsAndSendNothing)
{
    click("liveTranslation.languagePair");
    EXPECT_TRUE(view->viewState()->languagesPresented());
    click("liveTranslation.languagePair");
    EXPECT_FALSE(view->viewState()->languagesPresented());
    // A press outside an open popover closes it, and the pressed button still acts.
    click("liveTranslation.languagePair");
    click("liveTranslation.audioSourcePicker");
    EXPECT_FALSE(view->viewState()->languagesPresented());
    EXPECT_TRUE(view->viewState()->audioPresented());
    EXPECT_TRUE(recorder.events.empty());

    apply(active(Lifecycle::listening));
    click("liveTranslation.audioSourcePicker"); // disabled while a session runs
    EXPECT_TRUE(view->viewState()->audioPresented());
    EXPECT_EQ(view->languagePairButton(), button("liveTranslation.languagePair"));
    EXPECT_EQ(view->audioSourceButton(), button("liveTranslation.audioSourcePicker"));
}

TEST_P(PanelFace, HostTextIsPlainAndAnEmptyStatusKeepsTheDot)
{
    LiveTranslationHelperSnapshot s;
    s.statusMessage = "<b>x</b> <img src=\"y\">";
    s.audioSources = {{"a", "<i>App</i> & Co"}};
    s.selectedAudioSourceID = "a";
    apply(s);
    EXPECT_EQ(accessibleText("liveTranslation.lifecycleStatus", QAccessible::Value),
        QStringLiteral("<b>x</b> <img src=\"y\">"));
    EXPECT_EQ(control<LiveTranslationStatusText>("liveTranslation.lifecycleStatus")->text(),
        QStringLiteral("<b>x</b> <img src=\"y\">"));
    EXPECT_EQ(control<LiveTranslationCapsuleButton>("liveTranslation.audioSourcePicker")->title(),
        QStringLiteral("<i>App</i> & Co"));
    for (QLabel *label : view->findChildren<QLabel *>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    // An ampersand in a host title is no keyboard shortcut.
    EXPECT_TRUE(button("liveTranslation.audioSourcePicker")->shortcut().isEmpty());

    // A huge message is kept whole, but only its start is measured, drawn and offered as help.
    s.statusMessage = std::string(1000000, 'm');
    apply(s);
    EXPECT_EQ(control<LiveTranslationStatusText>("liveTranslation.lifecycleStatus")->text().size(),
        1000000);
    EXPECT_LE(control("liveTranslation.lifecycleStatus")->toolTip().size(), 1100);

    s.statusMessage.clear();
    apply(s);
    EXPECT_EQ(accessibleText("liveTranslation.lifecycleStatus", QAccessible::Value), QString());
    EXPECT_EQ(dotColour(), palette.tertiaryText);
    EXPECT_GT(control("liveTranslation.lifecycleStatus")->height(), 0);
}

TEST_P(PanelFace, AnUnchangedSnapshotRepaintsNothing)
{
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    apply(s);
    PaintCounter paints(view);
    apply(s);
    apply(s);
    EXPECT_EQ(paints.count(), 0);
    s.statusMessage = "Listening again";
    apply(s);
    EXPECT_GT(paints.count(), 0);
}

TEST_P(PanelFace, TheOtherSchemeRepaintsEveryArea)
{
    const auto other = GetParam() == LiveTranslationColorScheme::dark
        ? LiveTranslationColorScheme::light
        : LiveTranslationColorScheme::dark;
    const auto otherPalette = LiveTranslationPalette::forScheme(other);
    view->setColorScheme(other);
    QApplication::processEvents();
    const QImage image = grab(view);
    EXPECT_EQ(pixelAt(image, QPointF(5, 5)), otherPalette.background);
    EXPECT_EQ(dotColour(), otherPalette.tertiaryText);
    EXPECT_EQ(pixelAt(image, QPointF(260, 400)), otherPalette.background);
    const QWidget *footer = control("liveTranslation.footer");
    EXPECT_EQ(pixelAt(image, QPointF(5, footer->y() - 0.5)), otherPalette.border);
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, PanelFace,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

} // namespace
