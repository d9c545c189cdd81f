#include "card.hpp"

#include <cmath>

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include "captions/logic.hpp"
#include "common/palette.hpp"
#include "common/view_logic.hpp"

namespace {
constexpr qreal kPaddingX = 13;
constexpr qreal kPaddingY = 11;
constexpr qreal kItemSpacing = 7;
constexpr qreal kStrokeWidth = 0.8;
constexpr qreal kStrokeOpacity = 0.88;
// Wrapping wastes the end of most lines; estimates count on it.
constexpr qreal kWrapSlack = 1.12;

QString translatedBadge()
{
    return QCoreApplication::translate("LiveTranslationCaptionsView", "TRANSLATED");
}

qreal headerHeight(const LiveTranslationCaptionFonts &fonts)
{
    return std::max(captionBadgeSize(translatedBadge(), fonts.badge).height(),
        std::ceil(QFontMetricsF(fonts.time).height()));
}
} // namespace

LiveTranslationCardEstimate LiveTranslationCardEstimate::forCards(
    const LiveTranslationCaptionFonts &fonts, qreal cardWidth, bool showsSource,
    qreal maxTextHeight)
{
    const QFontMetricsF source(fonts.source);
    const QFontMetricsF translation(fonts.translation);
    return {
        .textWidth = std::max<qreal>(cardWidth - 2 * kPaddingX, 1),
        .fixedHeight = 2 * kPaddingY + headerHeight(fonts) + kItemSpacing,
        .sourceGap = kItemSpacing,
        .sourceLineHeight = source.height(),
        .sourceUnitWidth = source.averageCharWidth(),
        .translationLineHeight = translation.height(),
        .translationUnitWidth = translation.averageCharWidth(),
        .showsSource = showsSource,
        .maxTextHeight = maxTextHeight,
    };
}

qreal LiveTranslationCardEstimate::height(float sourceUnits, float translationUnits) const
{
    const auto textHeight = [this](float units, qreal unitWidth, qreal lineHeight) {
        const qreal lines
            = std::max<qreal>(1, std::ceil(units * unitWidth * kWrapSlack / textWidth));
        return std::min(lines * lineHeight, std::max(maxTextHeight, lineHeight));
    };
    qreal total
        = fixedHeight + textHeight(translationUnits, translationUnitWidth, translationLineHeight);
    if (showsSource)
        total += textHeight(sourceUnits, sourceUnitWidth, sourceLineHeight) + sourceGap;
    return std::ceil(total);
}

LiveTranslationCommittedCardLayout::LiveTranslationCommittedCardLayout(
    const LiveTranslationHelperCommittedCard &card, bool showsSource, qreal cardWidth,
    qreal maxTextHeight, const LiveTranslationCaptionFonts &fonts)
    : m_width(cardWidth)
    , m_badge(translatedBadge())
    , m_time(captionTimeText(card.committedAt, QLocale::system()))
    , m_badgeFont(fonts.badge)
    , m_timeFont(fonts.time)
    , m_headerHeight(headerHeight(fonts))
{
    const qreal textWidth = std::max<qreal>(cardWidth - 2 * kPaddingX, 1);
    qreal y = kPaddingY + m_headerHeight + kItemSpacing;
    if (showsSource) {
        m_source = std::make_unique<LiveTranslationCaptionText>(
            fromWire(card.sourceText), fonts.source, textWidth, maxTextHeight);
        m_sourceOrigin = QPointF(kPaddingX, y);
        y += m_source->height() + kItemSpacing;
    }
    m_translation = std::make_unique<LiveTranslationCaptionText>(
        fromWire(card.translatedText), fonts.translation, textWidth, maxTextHeight);
    m_translationOrigin = QPointF(kPaddingX, y);
    m_height = y + m_translation->height() + kPaddingY;
}

const LiveTranslationCaptionText *LiveTranslationCommittedCardLayout::text(int block) const
{
    return block == Position::source ? m_source.get() : m_translation.get();
}

void LiveTranslationCommittedCardLayout::paint(QPainter *painter, QPointF topLeft,
    const LiveTranslationPalette &palette, const LiveTranslationCaptionSelection &selection,
    std::size_t card) const
{
    paintCaptionCardFrame(painter, QRectF(topLeft, QSizeF(m_width, m_height)), palette.surface,
        withOpacity(palette.border, kStrokeOpacity), kStrokeWidth);

    const QSizeF badge = captionBadgeSize(m_badge, m_badgeFont);
    const qreal headerTop = topLeft.y() + kPaddingY;
    paintCaptionBadge(painter,
        QPointF(topLeft.x() + kPaddingX, headerTop + (m_headerHeight - badge.height()) / 2),
        m_badge, m_badgeFont, palette.tertiaryText, palette.mutedSurface);
    painter->setFont(m_timeFont);
    painter->setPen(palette.tertiaryText);
    const QRectF timeRect(
        topLeft.x() + kPaddingX, headerTop, m_width - 2 * kPaddingX, m_headerHeight);
    painter->drawText(timeRect, Qt::AlignRight | Qt::AlignVCenter, m_time);

    if (m_source) {
        m_source->draw(painter, topLeft + m_sourceOrigin, palette.secondaryText,
            selection.rangeIn(card, Position::source, static_cast<int>(m_source->text().size())),
            palette.selection);
    }
    m_translation->draw(painter, topLeft + m_translationOrigin, palette.foreground,
        selection.rangeIn(
            card, Position::translation, static_cast<int>(m_translation->text().size())),
        palette.selection);
}

LiveTranslationCaptionTextPosition LiveTranslationCommittedCardLayout::positionAt(
    QPointF local, std::size_t card) const
{
    if (m_source && local.y() < m_translationOrigin.y() - kItemSpacing / 2)
        return {card, Position::source, m_source->offsetAt(local - m_sourceOrigin)};
    return {card, Position::translation, m_translation->offsetAt(local - m_translationOrigin)};
}
