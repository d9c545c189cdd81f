#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

TEST_P(PanelFace, TheHeaderKeepsItsPaddingAndSpacingAndStartIsPainted28High)
{
    LiveTranslationHelperSnapshot idle;
    idle.isStartEnabled = true;
    apply(idle);
    const QRect start = rectIn(button("liveTranslation.startButton"), view);
    EXPECT_EQ(start.height(), 28);
    // Past the rounded corner, before the label.
    const QImage image = grab(view);
    int filled = 0;
    for (int y = 0; y < image.height(); ++y)
        filled += pixelAt(image, QPointF(start.left() + 8, y)) == palette.accent ? 1 : 0;
    EXPECT_EQ(filled, 28);

    apply(active(Lifecycle::listening));
    const QRect pair = rectIn(button("liveTranslation.languagePair"), view);
    const QRect audio = rectIn(button("liveTranslation.audioSourcePicker"), view);
    const QRect cancel = rectIn(button("liveTranslation.cancelButton"), view);
    const QRect stop = rectIn(button("liveTranslation.stopButton"), view);
    const QRect close = rectIn(button("liveTranslation.hideButton"), view);
    EXPECT_EQ(rectIn(view->findChild<QLabel *>(), view).left(), 14);
    EXPECT_EQ(close.right() + 1, view->width() - 14);
    EXPECT_EQ(audio.left() - pair.right() - 1, 10);
    EXPECT_EQ(stop.left() - cancel.right() - 1, 10);
    EXPECT_EQ(close.left() - stop.right() - 1, 10);
    EXPECT_EQ(stop.center().y(), close.center().y());
    EXPECT_EQ(rectIn(control<QWidget>("liveTranslation.topBar"), view).top(), 0);
    // The room for the dot's shadow and the Original box's focus ring reaches into the margin.
    EXPECT_EQ(rectIn(view->findChild<LiveTranslationStatusDot *>(), view).left(), 11);
    EXPECT_EQ(rectIn(control<QWidget>("liveTranslation.showSourceToggle"), view).left(), 11);
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
    int right = 0;
    for (const char *identifier :
        {"liveTranslation.lifecycleStatus", "liveTranslation.languagePair",
            "liveTranslation.audioSourcePicker", "liveTranslation.cancelButton",
            "liveTranslation.stopButton", "liveTranslation.hideButton"}) {
        QWidget *widget = control<QWidget>(identifier);
        EXPECT_GE(rectIn(widget, view).left(), right) << identifier;
        EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << identifier;
        right = rectIn(widget, view).right() + 1;
    }
    EXPECT_LE(right, view->width() - 14);
    // The language pair is never elided; the long status is, and is whole as hover help.
    EXPECT_GE(button("liveTranslation.languagePair")->width(),
        button("liveTranslation.languagePair")->sizeHint().width());
    EXPECT_TRUE(control<QWidget>("liveTranslation.lifecycleStatus")->toolTip().contains("far"));
}

TEST_P(PanelFace, TabReachesEveryControlAndSpaceOrReturnWorksThem)
{
    LiveTranslationHelperSnapshot s;
    s.isStartEnabled = true;
    s.canRequestMoreTime = true;
    apply(s);
    QApplication::setActiveWindow(&window);
    std::vector<QString> order;
    button("liveTranslation.languagePair")->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 5; ++i) {
        order.push_back(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order,
        (std::vector<QString> {"liveTranslation.languagePair", "liveTranslation.audioSourcePicker",
            "liveTranslation.startButton", "liveTranslation.hideButton",
            "liveTranslation.requestMoreTimeButton"}));

    QTest::keyClick(button("liveTranslation.requestMoreTimeButton"), Qt::Key_Return);
    QTest::keyClick(button("liveTranslation.startButton"), Qt::Key_Return);
    QTest::keyClick(button("liveTranslation.languagePair"), Qt::Key_Space);
    QTest::keyClick(button("liveTranslation.audioSourcePicker"), Qt::Key_Return);
    QTest::keyClick(button("liveTranslation.hideButton"), Qt::Key_Space);
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> {"request_more_time", "start", "<hide panel>", "hide"}));
    EXPECT_TRUE(view->viewState()->languagesPresented());
    EXPECT_TRUE(view->viewState()->audioPresented());
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, PanelFace,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

} // namespace
