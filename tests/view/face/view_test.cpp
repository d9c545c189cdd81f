#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

TEST_P(PanelFace, TheInitialSnapshotShowsConnectingWithADisabledStart)
{
    EXPECT_EQ(view->findChild<QLabel *>()->text(), QStringLiteral("Live Translate"));
    EXPECT_EQ(dotColour(), palette.tertiaryText);
    EXPECT_LE(statusInk(palette.secondaryText), 8);
    const std::vector<std::tuple<const char *, const char *, const char *>> controls {
        {"lifecycleStatus", "Live Translation status", "Connecting to Tavu"},
        {"languagePair", "Languages", "AUTO → EN"},
        {"audioSourcePicker", "Audio source", "Mac Audio"}, // what is captured
        {"startButton", "Start Live Translate", nullptr},
        {"hideButton", "Close Live Translate", nullptr}};
    for (const auto &[identifier, name, value] : controls) {
        EXPECT_EQ(accessibleText(identifier, QAccessible::Name), QString::fromUtf8(name));
        if (value)
            EXPECT_EQ(accessibleText(identifier, QAccessible::Value), QString::fromUtf8(value));
    }
    EXPECT_EQ(buttons(), "audioSourcePicker startButton- ");
    // The dot and the Original box leave room in the margin for the shadow and the focus ring.
    EXPECT_EQ(rectIn(view->findChild<LiveTranslationStatusDot *>(), view).left(), 11);
    EXPECT_EQ(rectIn(control<QWidget>("showSourceToggle"), view).left(), 11);
    EXPECT_FALSE(showsLimitCard());
}

TEST_P(PanelFace, TheLifecycleAndAFailureColourTheDotAndTheText)
{
    for (Lifecycle lifecycle : {Lifecycle::preparing, Lifecycle::connecting,
             Lifecycle::reconnecting, Lifecycle::stopping}) {
        apply(active(lifecycle));
        EXPECT_EQ(dotColour(), palette.warning) << wireName(lifecycle);
    }
    EXPECT_EQ(buttons(), "audioSourcePicker- cancelButton stopButton- ");
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    apply(s);
    EXPECT_EQ(dotColour(), palette.accent);
    s.hasFailure = true;
    apply(s);
    EXPECT_EQ(dotColour(), palette.warning);
    EXPECT_LE(statusInk(palette.warning), 8);
    EXPECT_GT(statusInk(palette.secondaryText), 30);
    EXPECT_EQ(buttons(), "audioSourcePicker- cancelButton stopButton "); // the session decides
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
    EXPECT_EQ(button("startButton")->text(), QStringLiteral("Try again"));
    EXPECT_EQ(accessibleText("startButton", QAccessible::Name),
        QStringLiteral("Try Live Translate again"));
    EXPECT_EQ(accessibleText("requestMoreTimeButton", QAccessible::Name),
        QStringLiteral("Request more Live Translate time"));
    // One request per press, and nothing changes until the host answers.
    click("requestMoreTimeButton");
    QTest::keyClick(button("requestMoreTimeButton"), Qt::Key_Space);
    EXPECT_EQ(
        recorder.events, (std::vector<std::string> {"request_more_time", "request_more_time"}));
    EXPECT_TRUE(showsLimitCard());
    s.canRequestMoreTime = false;
    s.hasFailure = true;
    apply(s);
    EXPECT_FALSE(showsLimitCard());
    EXPECT_EQ(button("startButton")->text(), QStringLiteral("Start"));
}

TEST_P(PanelFace, EachButtonSendsItsCommandUnlessDisabledAndCloseStopsARunningSession)
{
    LiveTranslationHelperSnapshot idle;
    idle.isStartEnabled = true;
    apply(idle);
    click("startButton");
    apply(active(Lifecycle::listening));
    click("stopButton");
    click("cancelButton");
    apply(active(Lifecycle::stopping));
    click("stopButton");
    EXPECT_EQ(button("hideButton")->toolTip(), QStringLiteral("Stop translation and close"));
    click("hideButton");
    apply({});
    click("startButton");
    EXPECT_EQ(button("hideButton")->toolTip(), QStringLiteral("Close Live Translate"));
    click("hideButton");
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> {
            "start", "stop", "cancel", "stop", "<hide panel>", "hide", "<hide panel>", "hide"}));
}

// The focus goes where the pressed control was, never to a neighbour that does something else.
TEST_P(PanelFace, TheFocusMovesToTheControlThatTakesThePlaceOfTheOneThatWent)
{
    LiveTranslationHelperSnapshot idle;
    idle.isStartEnabled = true;
    apply(idle);
    const std::vector<std::tuple<const char *, LiveTranslationHelperSnapshot, const char *>> steps {
        {"startButton", active(Lifecycle::listening), "stopButton"},
        {"stopButton", active(Lifecycle::stopping), "languagePair"},
        {"cancelButton", idle, "startButton"},
        {"audioSourcePicker", active(Lifecycle::listening), "languagePair"}};
    for (const auto &[from, snapshot, to] : steps) {
        button(from)->setFocus();
        apply(snapshot);
        EXPECT_EQ(QApplication::focusWidget(), button(to)) << from;
    }
}

TEST_P(PanelFace, AnUnchangedSnapshotRepaintsNothing)
{
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    apply(s);
    PaintCounter paints(view);
    apply(s);
    EXPECT_EQ(paints.count(), 0);
    s.statusMessage = "Listening again";
    apply(s);
    EXPECT_GT(paints.count(), 0);
}

TEST_P(PanelFace, TabReachesEveryControlAndSpaceOrReturnWorksThem)
{
    LiveTranslationHelperSnapshot s;
    s.isStartEnabled = true;
    s.canRequestMoreTime = true;
    apply(s);
    QApplication::setActiveWindow(&window);
    std::vector<QString> order;
    button("languagePair")->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 5; ++i) {
        order.push_back(QApplication::focusWidget()->objectName().section(QLatin1Char('.'), 1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order,
        (std::vector<QString> {"languagePair", "audioSourcePicker", "startButton", "hideButton",
            "requestMoreTimeButton"}));
    QTest::keyClick(button("requestMoreTimeButton"), Qt::Key_Return);
    QTest::keyClick(button("startButton"), Qt::Key_Return);
    QTest::keyClick(button("languagePair"), Qt::Key_Space);
    QTest::keyClick(button("audioSourcePicker"), Qt::Key_Return);
    QTest::keyClick(button("hideButton"), Qt::Key_Space);
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> {"request_more_time", "start", "<hide panel>", "hide"}));
    EXPECT_TRUE(view->viewState()->languagesPresented());
    EXPECT_TRUE(view->viewState()->audioPresented());
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, PanelFace,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

} // namespace
