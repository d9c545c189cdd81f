#include "plain_button.hpp"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include "common/symbols.hpp"
#include "common/view_support.hpp"

LiveTranslationPlainButton::LiveTranslationPlainButton(QWidget *parent)
    : TavuKeyboardButton<QAbstractButton>(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
}

void LiveTranslationPlainButton::setLabel(const QString &text, const QFont &font)
{
    if (text == m_label && font == m_font && m_glyph.isEmpty())
        return;
    m_label = text;
    m_glyph.clear();
    m_font = font;
    updateGeometry();
    update();
}

void LiveTranslationPlainButton::setSymbol(
    QStringView name, qreal pixelSize, QFont::Weight weight, QSize frame)
{
    m_glyph = symbols::glyph(name);
    m_label.clear();
    m_font = symbols::font(pixelSize, weight);
    m_frame = frame;
    updateGeometry();
    update();
}

void LiveTranslationPlainButton::setColor(const QColor &color, const QColor &ring)
{
    if (color == m_color && ring == m_ring)
        return;
    m_color = color;
    m_ring = ring;
    update();
}

QSize LiveTranslationPlainButton::sizeHint() const
{
    if (!m_glyph.isEmpty())
        return m_frame;
    const QFontMetricsF metrics(m_font);
    return {qCeil(metrics.horizontalAdvance(m_label)) + 2 * kTextPadding,
        qMax(kTextMinHeight, qCeil(metrics.height()))};
}

void LiveTranslationPlainButton::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    qreal opacity = isEnabled() ? 1.0 : buttonlook::kDisabledOpacity;
    if (isDown())
        opacity *= buttonlook::kPressedOpacity;
    painter.setOpacity(opacity);
    const QRectF box(rect());
    if (!m_glyph.isEmpty()) {
        paintSymbol(painter, box, m_glyph, m_font, m_color);
    } else {
        painter.setFont(m_font);
        painter.setPen(m_color);
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, m_label);
    }
    if (showsFocusRing()) {
        painter.setOpacity(1);
        constexpr qreal kRingRadius = 6;
        buttonlook::paintFocusRing(painter, box.adjusted(-2, -2, 2, 2), kRingRadius, m_ring);
    }
}
