#include "swap_button.hpp"

#include <QPainter>

#include "common/symbols.hpp"

LiveTranslationSwapButton::LiveTranslationSwapButton(QWidget *parent)
    : TavuKeyboardButton<QAbstractButton>(parent)
{
    setFixedSize(kSize, kSize);
    setFocusPolicy(Qt::TabFocus);
}

void LiveTranslationSwapButton::setColors(const LiveTranslationPalette &palette)
{
    m_palette = palette;
    update();
}

void LiveTranslationSwapButton::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(buttonlook::kDisabledOpacity);
    const QRectF box(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(isDown() ? m_palette.selection : m_palette.mutedSurface);
    painter.drawEllipse(box);
    paintSymbol(painter, box, symbols::glyph(u"arrow.left.arrow.right"),
        symbols::font(kSymbolPixelSize, QFont::DemiBold), m_palette.foreground);
    if (showsFocusRing())
        buttonlook::paintFocusRing(painter, box, kSize / 2.0,
            m_palette.focusRingOn(isDown() ? m_palette.selection : m_palette.mutedSurface));
}
