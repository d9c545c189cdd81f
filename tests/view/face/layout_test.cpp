#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

TEST_P(PanelFace, StartIs28HighInDevicePixelsTimesTheScale)
{
    LiveTranslationHelperSnapshot s;
    s.isStartEnabled = true;
    apply(s);
    QAbstractButton *start = button("liveTranslation.startButton");
    EXPECT_EQ(start->height(), 28);
    const QImage image = grab(view);
    const qreal ratio = image.devicePixelRatio();
    const QRect box = rectIn(start, view);
    // Past the rounded corner, before the label.
    const int column = qFloor((box.left() + 8) * ratio);
    int filled = 0;
    for (int y = 0; y < image.height(); ++y)
        filled += image.pixelColor(column, y) == palette.accent ? 1 : 0;
    EXPECT_EQ(filled, qRound(28 * ratio));
}

TEST_P(PanelFace, TheHeaderKeepsItsPaddingAndSpacing)
{
    apply(active(Lifecycle::listening));
    auto *title = view->findChild<QLabel *>();
    const QRect pair = rectIn(button("liveTranslation.languagePair"), view);
    const QRect audio = rectIn(button("liveTranslation.audioSourcePicker"), view);
    const QRect cancel = rectIn(button("liveTranslation.cancelButton"), view);
    const QRect stop = rectIn(button("liveTranslation.stopButton"), view);
    const QRect close = rectIn(button("liveTranslation.hideButton"), view);
    EXPECT_EQ(rectIn(title, view).left(), 14);
    EXPECT_EQ(close.right() + 1, view->width() - 14);
    EXPECT_EQ(audio.left() - pair.right() - 1, 10);
    EXPECT_EQ(stop.left() - cancel.right() - 1, 10);
    EXPECT_EQ(close.left() - stop.right() - 1, 10);
    EXPECT_EQ(stop.center().y(), close.center().y());
    EXPECT_EQ(rectIn(control("liveTranslation.topBar"), view).top(), 0);
    // The dot and the Original box start on the title's edge; the room for the dot's shadow and
    // the box's focus ring (3 each) reaches into the margin.
    EXPECT_EQ(rectIn(view->findChild<LiveTranslationStatusDot *>(), view).left(), 11);
    EXPECT_EQ(rectIn(control("liveTranslation.showSourceToggle"), view).left(), 11);
}

TEST_P(PanelFace, AtTheNarrowestPanelEveryControlStaysWholeAndApart)
{
    LiveTranslationHelperSnapshot s = active(Lifecycle::listening);
    s.statusMessage = "A status message far longer than the header could ever show in full";
    s.audioSources = {{"bundle:x", "An application with an extremely long name indeed"}};
    s.selectedAudioSourceID = "bundle:x";
    apply(s);
    window.resize(460, 520);
    view->resize(window.size());
    QApplication::processEvents();
    const std::vector<const char *> row {"liveTranslation.lifecycleStatus",
        "liveTranslation.languagePair", "liveTranslation.audioSourcePicker",
        "liveTranslation.cancelButton", "liveTranslation.stopButton", "liveTranslation.hideButton"};
    int right = 0;
    for (const char *identifier : row) {
        const QRect r = rectIn(control(identifier), view);
        EXPECT_GE(r.left(), right) << identifier;
        EXPECT_GE(r.width(), control(identifier)->minimumSizeHint().width()) << identifier;
        right = r.right() + 1;
    }
    EXPECT_LE(right, view->width() - 14);
    // The language pair is never elided.
    EXPECT_GE(control("liveTranslation.languagePair")->width(),
        control("liveTranslation.languagePair")->sizeHint().width());
    // The long status is elided and readable in full as hover help.
    EXPECT_TRUE(control("liveTranslation.lifecycleStatus")->toolTip().contains("far longer"));
}

TEST_P(PanelFace, TabReachesEveryControlAndSpaceOrReturnWorksThem)
{
    LiveTranslationHelperSnapshot s;
    s.isStartEnabled = true;
    apply(s);
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
    std::vector<QString> order;
    button("liveTranslation.languagePair")->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 4; ++i) {
        order.push_back(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order,
        (std::vector<QString> {"liveTranslation.languagePair", "liveTranslation.audioSourcePicker",
            "liveTranslation.startButton", "liveTranslation.hideButton"}));

    QTest::keyClick(button("liveTranslation.startButton"), Qt::Key_Return);
    QTest::keyClick(button("liveTranslation.languagePair"), Qt::Key_Space);
    QTest::keyClick(button("liveTranslation.audioSourcePicker"), Qt::Key_Return);
    QTest::keyClick(button("liveTranslation.hideButton"), Qt::Key_Space);
    EXPECT_EQ(recorder.events, (std::vector<std::string> {"start", "<hide panel>", "hide"}));
    EXPECT_TRUE(view->viewState()->languagesPresented());
    EXPECT_TRUE(view->viewState()->audioPresented());
}

TEST_P(PanelFace, TabGoesFromTheHeaderToTheLimitCardsButton)
{
    LiveTranslationHelperSnapshot s;
    s.canRequestMoreTime = true;
    s.isStartEnabled = true;
    apply(s);
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    button("liveTranslation.hideButton")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(),
        QStringLiteral("liveTranslation.requestMoreTimeButton"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(recorder.events, (std::vector<std::string> {"request_more_time"}));
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, PanelFace,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

} // namespace
