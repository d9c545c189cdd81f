#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

#include "common/button_styles.hpp"
#include "view_test_support.hpp"

using namespace viewtest;

namespace {

// A background of a known colour with one button on it.
struct Stage {
    QWidget backdrop;
    TavuButton *button;

    Stage(const QString &label, const LiveTranslationPalette &palette)
        : button(new TavuButton(label, &backdrop))
    {
        QPalette qt;
        qt.setColor(QPalette::Window, palette.background);
        backdrop.setPalette(qt);
        backdrop.setAutoFillBackground(true);
        auto *row = new QHBoxLayout(&backdrop);
        row->setContentsMargins(20, 20, 20, 20);
        row->addWidget(button);
        row->addStretch();
        backdrop.show();
        QApplication::processEvents();
    }

    QRect box() const { return rectIn(button, &backdrop); }
    // A point inside the fill, clear of the label and of the rounded corners.
    QPointF fillPoint() const { return box().topLeft() + QPointF(4.5, box().height() / 2.0); }
    QImage image() { return grab(&backdrop); }
};

class ButtonLook : public ::testing::TestWithParam<LiveTranslationColorScheme> {
protected:
    LiveTranslationPalette palette = LiveTranslationPalette::forScheme(GetParam());
};

TEST_P(ButtonLook, PrimaryIsAccentWithNearBlackLabelAndOnlyTheFillDimsWhenPressed)
{
    Stage stage(QStringLiteral("Start"), palette);
    stage.button->setButtonStyle(TavuPrimaryButtonStyle {palette});
    const QColor label = over(Qt::black, 0.84, palette.accent);

    QImage rest = stage.image();
    EXPECT_EQ(pixelAt(rest, stage.fillPoint()), palette.accent);
    EXPECT_LE(closestDistance(rest, stage.box(), label), 6);

    stage.button->setDown(true);
    QImage pressed = stage.image();
    const QColor pressedFill = over(palette.accent, 0.72, palette.background);
    EXPECT_LE(distance(pixelAt(pressed, stage.fillPoint()), pressedFill), 1);
    // The label keeps its colour; drawn over the lighter fill it blends with that.
    EXPECT_LE(closestDistance(pressed, stage.box(), over(Qt::black, 0.84, pressedFill)), 6);
}

TEST_P(ButtonLook, SecondaryHasMutedFillAndBorderAndOnlyTheLabelDimsWhenPressed)
{
    Stage stage(QStringLiteral("Copy all"), palette);
    stage.button->setButtonStyle(TavuSecondaryButtonStyle {palette});
    const QRect box = stage.box();
    const QPointF borderPoint(box.left() + box.width() / 2.0, box.top() + 0.5);

    QImage rest = stage.image();
    EXPECT_EQ(pixelAt(rest, stage.fillPoint()), palette.mutedSurface);
    EXPECT_EQ(pixelAt(rest, borderPoint), palette.border);
    EXPECT_LE(closestDistance(rest, box, palette.foreground), 6);

    stage.button->setDown(true);
    QImage pressed = stage.image();
    EXPECT_EQ(pixelAt(pressed, stage.fillPoint()), palette.mutedSurface);
    EXPECT_EQ(pixelAt(pressed, borderPoint), palette.border);
    EXPECT_GT(closestDistance(pressed, box, palette.foreground), 20);
    EXPECT_LE(
        closestDistance(pressed, box, over(palette.foreground, 0.65, palette.mutedSurface)), 6);
}

TEST_P(ButtonLook, DisabledTakesADimmedLookAndHoverChangesNothing)
{
    Stage stage(QStringLiteral("Start"), palette);
    stage.button->setButtonStyle(TavuPrimaryButtonStyle {palette});
    const QImage enabled = stage.image();

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(stage.button, &enter);
    QTest::mouseMove(stage.button, stage.button->rect().center());
    EXPECT_EQ(stage.image(), enabled);

    stage.button->setEnabled(false);
    const QColor dimmed = pixelAt(stage.image(), stage.fillPoint());
    EXPECT_GT(distance(dimmed, palette.accent), 20);
    EXPECT_LE(
        distance(dimmed, over(palette.accent, buttonlook::kDisabledOpacity, palette.background)),
        1);
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, ButtonLook,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

TEST(ButtonSize, HeightIsFixedAndWidthFollowsTheLabel)
{
    const auto palette = LiveTranslationPalette::light();
    Stage shortStage(QStringLiteral("Go"), palette);
    Stage longStage(QStringLiteral("Request more time than anybody ever needed"), palette);
    for (Stage *stage : {&shortStage, &longStage})
        stage->button->setButtonStyle(TavuPrimaryButtonStyle {palette});
    QApplication::processEvents();
    EXPECT_EQ(shortStage.button->height(), 28);
    EXPECT_EQ(longStage.button->height(), 28);
    EXPECT_GT(longStage.button->width(), shortStage.button->width() + 150);
    const QFontMetricsF metrics(TavuPrimaryButtonStyle {palette}.font(shortStage.button->font()));
    EXPECT_NEAR(
        shortStage.button->width(), metrics.horizontalAdvance(QStringLiteral("Go")) + 2 * 11, 1.0);

    longStage.button->setButtonStyle(TavuSecondaryButtonStyle {palette});
    QApplication::processEvents();
    EXPECT_EQ(longStage.button->height(), 26);
    EXPECT_EQ(longStage.button->sizeHint().height(), 26);
}

TEST(ButtonStyleChange, AnEqualStyleRepaintsNothingAndAnotherSchemeRepaints)
{
    const auto light = LiveTranslationPalette::light();
    Stage stage(QStringLiteral("Stop"), light);
    stage.button->setButtonStyle(TavuPrimaryButtonStyle {light});
    QApplication::processEvents();
    PaintCounter paints(stage.button);

    stage.button->setButtonStyle(TavuPrimaryButtonStyle {light});
    QApplication::processEvents();
    EXPECT_EQ(paints.count(), 0);

    stage.button->setButtonStyle(TavuPrimaryButtonStyle {LiveTranslationPalette::dark()});
    QApplication::processEvents();
    EXPECT_GT(paints.count(), 0);
    EXPECT_EQ(pixelAt(stage.image(), stage.fillPoint()), LiveTranslationPalette::dark().accent);
}

TEST(ButtonKeyboard, SpaceAndReturnPressAndOnlyKeyboardFocusShowsARing)
{
    const auto palette = LiveTranslationPalette::light();
    Stage stage(QStringLiteral("Start"), palette);
    stage.button->setButtonStyle(TavuPrimaryButtonStyle {palette});
    auto *other = new TavuButton(QStringLiteral("Other"), &stage.backdrop);
    stage.backdrop.layout()->addWidget(other);
    stage.backdrop.activateWindow();
    QApplication::processEvents();
    QSignalSpy clicks(stage.button, &QAbstractButton::clicked);
    const QImage unfocused = stage.image();

    stage.button->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(stage.image(), unfocused);

    other->setFocus(Qt::OtherFocusReason);
    stage.button->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_NE(stage.image(), unfocused);

    QTest::keyClick(stage.button, Qt::Key_Space);
    QTest::keyClick(stage.button, Qt::Key_Return);
    QTest::keyClick(stage.button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 3);

    stage.button->setEnabled(false);
    QTest::keyClick(stage.button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 3);
}

TEST(Palette, TwelveColoursOfBothSchemesAndTheLightOneForAnyOtherScheme)
{
    const auto hex = [](const LiveTranslationPalette &p) {
        std::vector<std::string> names;
        for (const QColor &c :
            {p.background, p.surface, p.mutedSurface, p.foreground, p.secondaryText, p.tertiaryText,
                p.primary, p.accent, p.selection, p.border, p.warning, p.liveAccent}) {
            EXPECT_EQ(c.alpha(), 255);
            names.push_back(c.name(QColor::HexRgb).toUpper().toStdString());
        }
        return names;
    };
    EXPECT_EQ(hex(LiveTranslationPalette::light()),
        (std::vector<std::string> {"#FDF9F0", "#FFFDF9", "#F6F1E8", "#031310", "#3D5559", "#70807E",
            "#00402C", "#88D514", "#DBEDE0", "#D9D4C9", "#B35A20", "#8A6500"}));
    EXPECT_EQ(hex(LiveTranslationPalette::dark()),
        (std::vector<std::string> {"#06111B", "#111519", "#101A1D", "#F6F8F3", "#A4ADAE", "#707A80",
            "#B7FF77", "#9FE51A", "#16372E", "#273338", "#FFB36B", "#E0B45D"}));
    EXPECT_EQ(LiveTranslationPalette::forScheme(LiveTranslationColorScheme::light),
        LiveTranslationPalette::light());
    EXPECT_EQ(LiveTranslationPalette::forScheme(static_cast<LiveTranslationColorScheme>(7)),
        LiveTranslationPalette::light());

    // Focus rings: the accent only where it stands out by 3:1 (it does not on light surfaces).
    const auto light = LiveTranslationPalette::light();
    const auto dark = LiveTranslationPalette::dark();
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_EQ(light.focusRingOn(light.surface), light.foreground);
    EXPECT_EQ(light.focusRingOn(light.selection), light.foreground);
    EXPECT_EQ(dark.focusRingOn(dark.surface), dark.accent);
    EXPECT_EQ(dark.focusRingOn(dark.selection), dark.accent);
    EXPECT_EQ(dark.focusRingOn(dark.accent), dark.background);
}

} // namespace
