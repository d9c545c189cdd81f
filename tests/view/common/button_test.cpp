#include <gtest/gtest.h>

#include <QFontInfo>
#include <QHBoxLayout>
#include <QRawFont>
#include <QSignalSpy>
#include <QTest>

#include "common/button_styles.hpp"
#include "common/symbols.hpp"
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
        backdrop.setPalette(QPalette(palette.background));
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

TEST_P(ButtonLook, PrimaryIsAccentWithANearBlackLabelAndOnlyTheFillDimsWhenPressed)
{
    Stage stage(QStringLiteral("Start"), palette);
    stage.button->setButtonStyle(TavuPrimaryButtonStyle {palette});
    QImage image = stage.image();
    EXPECT_EQ(pixelAt(image, stage.fillPoint()), palette.accent);
    EXPECT_LE(closestDistance(image, stage.box(), over(Qt::black, 0.84, palette.accent)), 6);

    stage.button->setDown(true);
    image = stage.image();
    const QColor pressedFill = over(palette.accent, 0.72, palette.background);
    EXPECT_LE(distance(pixelAt(image, stage.fillPoint()), pressedFill), 1);
    // The label keeps its colour; drawn over the lighter fill it blends with that.
    EXPECT_LE(closestDistance(image, stage.box(), over(Qt::black, 0.84, pressedFill)), 6);

    stage.button->setDown(false);
    stage.button->setEnabled(false);
    const QColor dimmed = pixelAt(stage.image(), stage.fillPoint());
    EXPECT_LE(distance(dimmed, over(palette.accent, 0.42, palette.background)), 1);
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, ButtonLook,
    ::testing::Values(LiveTranslationColorScheme::light, LiveTranslationColorScheme::dark));

TEST(TavuButton, SizeFollowsStyleAndLabelAndOnlyKeyboardFocusShowsARing)
{
    const auto light = LiveTranslationPalette::light();
    Stage stage(QStringLiteral("Go"), light);
    stage.button->setButtonStyle(TavuPrimaryButtonStyle {light});
    QApplication::processEvents();
    EXPECT_EQ(stage.button->height(), 28);
    QFont font = stage.button->font();
    font.setPixelSize(11);
    font.setWeight(QFont::DemiBold);
    EXPECT_NEAR(stage.button->width(),
        QFontMetricsF(font).horizontalAdvance(QStringLiteral("Go")) + 22, 1.0);

    stage.backdrop.activateWindow();
    QApplication::processEvents();
    QSignalSpy clicks(stage.button, &QAbstractButton::clicked);
    const QImage unfocused = stage.image();
    stage.button->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(stage.image(), unfocused);
    stage.button->clearFocus();
    stage.button->setFocus(Qt::TabFocusReason);
    EXPECT_NE(stage.image(), unfocused);
    for (const auto &[key, modifiers] :
        {std::pair {Qt::Key_Space, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier},
            {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Return, Qt::ShiftModifier}})
        QTest::keyClick(stage.button, key, modifiers);
    EXPECT_EQ(clicks.count(), 3);
    stage.button->setEnabled(false);
    QTest::keyClick(stage.button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 3);

    stage.button->setButtonStyle(TavuSecondaryButtonStyle {light});
    QApplication::processEvents();
    EXPECT_EQ(stage.button->height(), 26);
}

TEST(Palette, TwelveColoursOfBothSchemesAndFocusRingsThatStandOut)
{
    const auto hex = [](const LiveTranslationPalette &p) {
        QStringList names;
        for (const QColor &c :
            {p.background, p.surface, p.mutedSurface, p.foreground, p.secondaryText, p.tertiaryText,
                p.primary, p.accent, p.selection, p.border, p.warning, p.liveAccent})
            names << c.name().mid(1).toUpper();
        return names.join(u' ');
    };
    const auto light = LiveTranslationPalette::light();
    const auto dark = LiveTranslationPalette::dark();
    EXPECT_EQ(hex(light),
        "FDF9F0 FFFDF9 F6F1E8 031310 3D5559 70807E 00402C 88D514 DBEDE0 D9D4C9 B35A20 8A6500");
    EXPECT_EQ(hex(dark),
        "06111B 111519 101A1D F6F8F3 A4ADAE 707A80 B7FF77 9FE51A 16372E 273338 FFB36B E0B45D");
    EXPECT_EQ(LiveTranslationPalette::forScheme(LiveTranslationColorScheme::dark), dark);
    EXPECT_EQ(LiveTranslationPalette::forScheme(static_cast<LiveTranslationColorScheme>(7)), light);
    // The accent only where it stands out by 3:1 (it does not on light surfaces).
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_EQ(light.focusRingOn(light.surface), light.foreground);
    EXPECT_EQ(dark.focusRingOn(dark.selection), dark.accent);
    EXPECT_EQ(dark.focusRingOn(dark.accent), dark.background);
}

TEST(Symbols, EveryNameDrawsItsMaterialGlyphFromTheCompiledInFont)
{
    const std::pair<QString, char16_t> table[]
        = {{"captions.bubble", 0xe048}, {"xmark", 0xe5cd}, {"chevron.down", 0xe5cf},
            {"magnifyingglass", 0xe8b6}, {"checkmark", 0xe5ca}, {"arrow.left.arrow.right", 0xe8d4},
            {"speaker.wave.2", 0xe050}, {"speaker.wave.2.fill", 0xe050}, {"app.fill", 0xe5c3},
            {"exclamationmark.triangle.fill", 0xe002}, {"lock.fill", 0xe897}, {"clock", 0xe8b5}};
    const QFont font = symbols::font(12);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Material Icons"));
    const QRawFont raw = QRawFont::fromFont(font);
    for (const auto &[name, codepoint] : table) {
        EXPECT_EQ(symbols::glyph(name), QString(QChar(codepoint))) << name.toStdString();
        EXPECT_TRUE(raw.supportsCharacter(QChar(codepoint))) << name.toStdString();
    }
    for (const auto *unknown : {u"no.such.symbol", u"", u"XMARK"})
        EXPECT_TRUE(symbols::glyph(unknown).isEmpty());
}

} // namespace
