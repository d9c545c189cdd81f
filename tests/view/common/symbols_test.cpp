#include <gtest/gtest.h>

#include <QFontInfo>
#include <QRawFont>

#include "common/symbols.hpp"
#include "view_test_support.hpp"

using namespace viewtest;

namespace {

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
    // The ink's bounding box in device pixels: pixels that differ from the white backdrop.
    const auto inkBox = [&] {
        const QImage image = grab(&backdrop);
        QRect box;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (distance(image.pixelColor(x, y), Qt::white) > 40)
                    box |= QRect(x, y, 1, 1);
            }
        }
        return box;
    };

    const qreal ratio = grab(&backdrop).devicePixelRatio();
    const QRect ink = inkBox();
    ASSERT_TRUE(ink.isValid());
    // Centred to within one device pixel on both axes; the ink grows with the ratio.
    EXPECT_NEAR(QRectF(ink).center().x() + 0.5, 12 * ratio, 1.0);
    EXPECT_NEAR(QRectF(ink).center().y() + 0.5, 12 * ratio, 1.0);
    EXPECT_GE(ink.width(), qFloor(8 * ratio));
    EXPECT_LE(closestDistance(grab(&backdrop), QRectF(0, 0, 24, 24), Qt::black), 10);
    symbol->setSymbol(u"no.such.symbol");
    EXPECT_FALSE(inkBox().isValid());
}

} // namespace
