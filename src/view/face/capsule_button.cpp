#include "capsule_button.hpp"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "common/symbols.hpp"
#include "common/view_support.hpp"

namespace {

QFont chevronFont()
{
    return symbols::font(LiveTranslationCapsuleButton::kChevronPixelSize, QFont::Bold);
}

QFont leadingFont()
{
    return symbols::font(LiveTranslationCapsuleButton::kTitlePixelSize, QFont::Medium);
}

qreal glyphWidth(const QString &glyph, const QFont &font)
{
    return glyph.isEmpty() ? 0 : QFontMetricsF(font).horizontalAdvance(glyph);
}

} // namespace

LiveTranslationCapsuleButton::LiveTranslationCapsuleButton(
    QFont::Weight titleWeight, QWidget *parent)
    : TavuKeyboardButton<QAbstractButton>(parent)
    , m_titleWeight(titleWeight)
{
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
}

void LiveTranslationCapsuleButton::setLeadingSymbol(QStringView name)
{
    const QString glyph = symbols::glyph(name);
    if (glyph == m_leadingGlyph)
        return;
    m_leadingGlyph = glyph;
    updateGeometry();
    update();
}

void LiveTranslationCapsuleButton::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    updateGeometry();
    updateToolTip();
    update();
}

void LiveTranslationCapsuleButton::setMinimumTitleWidth(int width)
{
    m_minTitleWidth = width;
    updateGeometry();
}

void LiveTranslationCapsuleButton::setColors(const Colors &colors)
{
    if (colors == m_colors)
        return;
    m_colors = colors;
    update();
}

QFont LiveTranslationCapsuleButton::titleFont() const
{
    QFont result = font();
    result.setPixelSize(kTitlePixelSize);
    result.setWeight(m_titleWeight);
    return result;
}

qreal LiveTranslationCapsuleButton::fixedWidth() const
{
    const qreal leading = glyphWidth(m_leadingGlyph, leadingFont());
    const qreal chevron = glyphWidth(symbols::glyph(u"chevron.down"), chevronFont());
    return 2 * kHorizontalPadding + (leading > 0 ? leading + kSpacing : 0) + kSpacing + chevron;
}

QSize LiveTranslationCapsuleButton::sizeHint() const
{
    const QFontMetricsF metrics(titleFont());
    const qreal title = qMin<qreal>(metrics.horizontalAdvance(m_title), kMaxTitleWidth);
    return {qCeil(fixedWidth() + title), qCeil(metrics.height()) + 2 * kVerticalPadding};
}

QSize LiveTranslationCapsuleButton::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {qMin(hint.width(), qCeil(fixedWidth()) + m_minTitleWidth), hint.height()};
}

qreal LiveTranslationCapsuleButton::titleWidth() const
{
    return width() - fixedWidth();
}

// An elided title shows in full as hover help, escaped so that it reads as plain text.
void LiveTranslationCapsuleButton::updateToolTip()
{
    const bool elided = QFontMetricsF(titleFont()).horizontalAdvance(m_title) > titleWidth();
    const QString tip = elided ? plainToolTip(m_title) : QString();
    if (toolTip() != tip)
        setToolTip(tip);
}

void LiveTranslationCapsuleButton::resizeEvent(QResizeEvent *event)
{
    QAbstractButton::resizeEvent(event);
    updateToolTip();
}

void LiveTranslationCapsuleButton::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(buttonlook::kDisabledOpacity);

    const QRectF box(rect());
    const qreal radius = box.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(box, radius, radius);
    painter.fillPath(capsule, m_colors.fill);
    const qreal inset = kBorderWidth / 2;
    painter.setPen(QPen(m_colors.border, kBorderWidth));
    painter.drawRoundedRect(
        box.adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);

    if (isDown())
        painter.setOpacity(painter.opacity() * buttonlook::kPressedOpacity);
    qreal x = kHorizontalPadding;
    if (!m_leadingGlyph.isEmpty()) {
        const QFont font = leadingFont();
        const qreal w = glyphWidth(m_leadingGlyph, font);
        paintSymbol(painter, QRectF(x, 0, w, height()), m_leadingGlyph, font, m_colors.text);
        x += w + kSpacing;
    }
    const QFont chevron = chevronFont();
    const QString chevronGlyph = symbols::glyph(u"chevron.down");
    const qreal chevronWidth = glyphWidth(chevronGlyph, chevron);
    const qreal titleWidth = width() - x - kSpacing - chevronWidth - kHorizontalPadding;
    const QFont font = titleFont();
    const QString shown = QFontMetricsF(font).elidedText(m_title, Qt::ElideRight, titleWidth);
    painter.setFont(font);
    painter.setPen(m_colors.text);
    painter.drawText(QRectF(x, 0, titleWidth, height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    x += titleWidth + kSpacing;
    paintSymbol(
        painter, QRectF(x, 0, chevronWidth, height()), chevronGlyph, chevron, m_colors.text);

    if (showsFocusRing()) {
        painter.setOpacity(1);
        buttonlook::paintFocusRing(painter, box, radius, m_colors.ring);
    }
}
