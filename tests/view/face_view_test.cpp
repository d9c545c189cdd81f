#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>

#include "face_test_support.hpp"
#include "header_buttons.hpp"
#include "limit_card.hpp"
#include "root_view.hpp"
#include "status.hpp"
#include "symbols.hpp"

using namespace facetest;
using Lifecycle = LiveTranslationHelperLifecycle;

namespace {

class PanelFace : public ::testing::TestWithParam<LiveTranslationColorScheme> {
protected:
    void SetUp() override
    {
        app();
        window.resize(520, 760);
        view = new LiveTranslationHelperView(&recorder.model, &window);
        view->resize(window.size());
        view->setColorScheme(GetParam());
        window.show();
        QApplication::processEvents();
    }

    void apply(LiveTranslationHelperSnapshot snapshot)
    {
        snapshot.generation = ++generation;
        recorder.model.applySnapshot(std::move(snapshot));
        QApplication::processEvents();
    }

    template <typename T = QWidget> T *control(const char *identifier)
    {
        T *found = view->findChild<T *>(QString::fromLatin1(identifier));
        EXPECT_NE(found, nullptr) << identifier;
        return found;
    }

    QAbstractButton *button(const char *identifier) { return control<QAbstractButton>(identifier); }

    QString accessibleText(const char *identifier, QAccessible::Text text)
    {
        return QAccessible::queryAccessibleInterface(control(identifier))->text(text);
    }

    bool shows(const char *identifier) { return control(identifier)->isVisible(); }

    QColor dotColour()
    {
        auto *dot = view->findChild<LiveTranslationStatusDot *>();
        return pixelAt(grab(view), dot->mapTo(view, dot->centre().toPoint()));
    }

    // How close the status text's ink comes to a colour.
    int statusInk(const QColor &colour)
    {
        return closestDistance(
            grab(view), rectIn(control("liveTranslation.lifecycleStatus"), view), colour);
    }

    bool showsLimitCard()
    {
        auto *content
            = view->findChild<QStackedWidget *>(QStringLiteral("liveTranslation.content"));
        return content->currentWidget() == view->findChild<LiveTranslationLimitCard *>();
    }

    void click(const char *identifier)
    {
        QTest::mouseClick(button(identifier), Qt::LeftButton);
        QApplication::processEvents();
    }

    LiveTranslationHelperSnapshot active(Lifecycle lifecycle)
    {
        LiveTranslationHelperSnapshot s;
        s.isSessionActive = true;
        s.lifecycle = lifecycle;
        s.statusMessage = "Listening";
        return s;
    }

    LiveTranslationPalette palette = LiveTranslationPalette::forScheme(GetParam());
    RecordingModel recorder;
    QWidget window;
    LiveTranslationHelperView *view = nullptr;
    std::uint64_t generation = 0;
};

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

TEST_P(PanelFace, TheLimitOutsideASessionOffersTryAgainAndTheCard)
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
    EXPECT_EQ(recorder.events, (std::vector<std::string> {"start"}));
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

TEST_P(PanelFace, TheLimitButtonSendsOneRequestPerPressAndStaysEnabled)
{
    LiveTranslationHelperSnapshot s;
    s.canRequestMoreTime = true;
    apply(s);
    click("liveTranslation.requestMoreTimeButton");
    click("liveTranslation.requestMoreTimeButton");
    QTest::keyClick(button("liveTranslation.requestMoreTimeButton"), Qt::Key_Space);
    EXPECT_EQ(recorder.events, (std::vector<std::string>(3, "request_more_time")));
    EXPECT_TRUE(button("liveTranslation.requestMoreTimeButton")->isEnabled());
    EXPECT_TRUE(showsLimitCard());
}

TEST_P(PanelFace, TheCapsulesFlipTheirFlagsAndSendNothing)
{
    click("liveTranslation.languagePair");
    EXPECT_TRUE(view->languagesPresented());
    click("liveTranslation.languagePair");
    EXPECT_FALSE(view->languagesPresented());
    // A press outside an open popover closes it, and the pressed button still acts.
    click("liveTranslation.languagePair");
    click("liveTranslation.audioSourcePicker");
    EXPECT_FALSE(view->languagesPresented());
    EXPECT_TRUE(view->audioPresented());
    EXPECT_TRUE(recorder.events.empty());

    apply(active(Lifecycle::listening));
    click("liveTranslation.audioSourcePicker"); // disabled while a session runs
    EXPECT_TRUE(view->audioPresented());
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
    EXPECT_TRUE(view->languagesPresented());
    EXPECT_TRUE(view->audioPresented());
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, PanelFace,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

} // namespace
