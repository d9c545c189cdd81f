#include <gtest/gtest.h>

#include <QFontInfo>
#include <QRawFont>

#include "common/symbols.hpp"
#include "view_test_support.hpp"

using namespace viewtest;

namespace {

TEST(Symbols, EveryNameDrawsItsMaterialGlyphFromTheCompiledInFont)
{
    const std::vector<std::pair<QString, char16_t>> table {
        {"captions.bubble", 0xe048},
        {"xmark", 0xe5cd},
        {"chevron.down", 0xe5cf},
        {"magnifyingglass", 0xe8b6},
        {"checkmark", 0xe5ca},
        {"arrow.left.arrow.right", 0xe8d4},
        {"speaker.wave.2", 0xe050},
        {"speaker.wave.2.fill", 0xe050},
        {"app.fill", 0xe5c3},
        {"exclamationmark.triangle.fill", 0xe002},
        {"lock.fill", 0xe897},
        {"clock", 0xe8b5},
    };
    const QFont font = symbols::font(12);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Material Icons"));
    const QRawFont raw = QRawFont::fromFont(font);
    for (const auto &[name, codepoint] : table) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(symbols::glyph(name), QString(QChar(codepoint)));
        EXPECT_TRUE(raw.supportsCharacter(QChar(codepoint)));
    }
    EXPECT_TRUE(symbols::glyph(u"no.such.symbol").isEmpty());
    EXPECT_TRUE(symbols::glyph(u"").isEmpty());
    EXPECT_TRUE(symbols::glyph(u"XMARK").isEmpty());
}

// The ink's bounding box in device pixels: pixels that differ from the backdrop.
QRect inkBox(const QImage &image, const QColor &backdrop)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (distance(image.pixelColor(x, y), backdrop) > 40)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST(Symbols, ASymbolIsCentredInItsFrameAndDrawnAtDeviceResolution)
{
    QWidget backdrop;
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    backdrop.setPalette(palette);
    backdrop.setAutoFillBackground(true);
    backdrop.resize(24, 24);
    auto *symbol = new LiveTranslationSymbol(u"xmark", 12, &backdrop);
    symbol->setFrameSize(QSize(24, 24));
    symbol->setColor(Qt::black);
    symbol->resize(symbol->sizeHint());
    backdrop.show();

    const QImage image = grab(&backdrop);
    const qreal ratio = image.devicePixelRatio();
    ASSERT_EQ(image.width(), qRound(24 * ratio));
    const QRect ink = inkBox(image, Qt::white);
    ASSERT_TRUE(ink.isValid());
    // Centred to within one device pixel on both axes.
    const QPointF inkCentre = QRectF(ink).center() + QPointF(0.5, 0.5);
    EXPECT_NEAR(inkCentre.x(), 12 * ratio, 1.0);
    EXPECT_NEAR(inkCentre.y(), 12 * ratio, 1.0);
    // Drawn at device resolution: the ink grows with the ratio, and full-strength pixels exist.
    EXPECT_GE(ink.width(), qFloor(8 * ratio));
    EXPECT_LE(closestDistance(image, QRectF(0, 0, 24, 24), Qt::black), 10);

    symbol->setSymbol(u"no.such.symbol");
    EXPECT_FALSE(inkBox(grab(&backdrop), Qt::white).isValid());
}

} // namespace
