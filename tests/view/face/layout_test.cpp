#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

TEST_P(PanelFace, TheHeaderKeepsItsPaddingAndSpacingAndStartIsPainted28High)
{
    LiveTranslationHelperSnapshot idle;
    idle.isStartEnabled = true;
    apply(idle);
    const QRect start = rectIn(button("startButton"), view);
    const QImage image = grab(view);
    int filled = 0; // past the rounded corner, before the label
    for (int y = 0; y < image.height(); ++y)
        filled += pixelAt(image, QPointF(start.left() + 8, y)) == palette.accent ? 1 : 0;
    EXPECT_EQ(filled, 28);
    EXPECT_EQ(start.height(), 28);

    apply(active(Lifecycle::listening));
    const auto left
        = [this](const char *name) { return rectIn(control<QWidget>(name), view).left(); };
    const auto right = [this](const char *name) { return rectIn(button(name), view).right() + 1; };
    EXPECT_EQ(rectIn(view->findChild<QLabel *>(), view).left(), 14);
    EXPECT_EQ(right("hideButton"), view->width() - 14);
    EXPECT_EQ(left("audioSourcePicker") - right("languagePair"), 10);
    EXPECT_EQ(left("stopButton") - right("cancelButton"), 10);
    EXPECT_EQ(left("hideButton") - right("stopButton"), 10);
    EXPECT_EQ(rectIn(button("stopButton"), view).center().y(),
        rectIn(button("hideButton"), view).center().y());
    EXPECT_EQ(rectIn(control<QWidget>("topBar"), view).top(), 0);
    // The room for the dot's shadow and the Original box's focus ring reaches into the margin.
    EXPECT_EQ(rectIn(view->findChild<LiveTranslationStatusDot *>(), view).left(), 11);
    EXPECT_EQ(left("showSourceToggle"), 11);
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
