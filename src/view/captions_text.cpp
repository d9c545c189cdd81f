#include "captions_text.hpp"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>
#include <QTextBoundaryFinder>
#include <QTextLine>
#include <QTextOption>
#include <cmath>
#include <qdrawutil.h>

namespace {
// Pixel sizes of the caption fonts. Half sizes (10.5, 9.5) round up: fonts take whole pixels.
constexpr int kBadgePixelSize = 9;
constexpr qreal kBadgeLetterSpacing = 0.8;
constexpr int kNowBadgePixelSize = 10;
constexpr int kTimePixelSize = 10;
constexpr int kSourcePixelSize = 13;
constexpr int kTranslationPixelSize = 18;
constexpr int kActiveHeaderPixelSize = 10;
constexpr int kActiveTranslationPixelSize = 19;
constexpr int kSourcePlaceholderPixelSize = 12;
constexpr int kWaitingPlaceholderPixelSize = 17;
constexpr int kNotePixelSize = 11;

constexpr qreal kBadgePaddingX = 5;
constexpr qreal kBadgePaddingY = 2;
constexpr qreal kBadgeCornerRadius = 4;
constexpr qreal kCardCornerRadius = 11;

// Host texts are plain: a line feed or carriage return breaks the line. The displayed text keeps
// one character per character of the original, so positions and copies map one to one.
QString displayedText(const QString &text)
{
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (c == u'\n' || c == u'\r')
            shown[i] = (c == u'\r' && i + 1 < shown.size() && shown.at(i + 1) == u'\n')
                ? QChar(0x200B) // zero-width space: the following line feed breaks
                : QChar(QChar::LineSeparator);
    }
    return shown;
}

QFont sized(QFont font, int pixelSize, QFont::Weight weight)
{
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}
} // namespace

LiveTranslationCaptionFonts LiveTranslationCaptionFonts::fromApplication()
{
    const QFont base = QApplication::font();
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    LiveTranslationCaptionFonts fonts {
        .badge = sized(base, kBadgePixelSize, QFont::DemiBold),
        .nowBadge = sized(base, kNowBadgePixelSize, QFont::Medium),
        .time = sized(fixed, kTimePixelSize, QFont::Medium),
        .source = sized(base, kSourcePixelSize, QFont::Normal),
        .translation = sized(base, kTranslationPixelSize, QFont::DemiBold),
        .activeHeader = sized(fixed, kActiveHeaderPixelSize, QFont::DemiBold),
        .activeTranslation = sized(base, kActiveTranslationPixelSize, QFont::DemiBold),
        .sourcePlaceholder = sized(base, kSourcePlaceholderPixelSize, QFont::Normal),
        .waitingPlaceholder = sized(base, kWaitingPlaceholderPixelSize, QFont::DemiBold),
        .note = sized(base, kNotePixelSize, QFont::Medium),
    };
    fonts.badge.setLetterSpacing(QFont::AbsoluteSpacing, kBadgeLetterSpacing);
    return fonts;
}

std::optional<std::pair<int, int>> LiveTranslationCaptionSelection::rangeIn(
    std::size_t card, int block, int length) const
{
    if (isEmpty())
        return std::nullopt;
    const Position first = start();
    const Position last = end();
    const Position blockStart {card, block, 0};
    const Position blockEnd {card, block, length};
    if (last <= blockStart || first >= blockEnd)
        return std::nullopt;
    const int from = first > blockStart ? first.offset : 0;
    const int to = last < blockEnd ? last.offset : length;
    if (from >= to)
        return std::nullopt;
    return std::pair {from, to};
}

LiveTranslationCaptionText::LiveTranslationCaptionText(
    const QString &text, const QFont &font, qreal width)
    : m_text(text)
    , m_layout(displayedText(text), font)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Each paragraph reads in its own direction: right-to-left text starts at the right edge.
    const bool rightToLeft = text.isRightToLeft();
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(Qt::AlignAbsolute | (rightToLeft ? Qt::AlignRight : Qt::AlignLeft));
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);

    const qreal lineWidth = std::max<qreal>(width, 1);
    qreal y = 0;
    m_layout.beginLayout();
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
        m_naturalWidth = std::max(m_naturalWidth, line.naturalTextWidth());
    }
    m_layout.endLayout();
    m_height = std::ceil(y);
}

void LiveTranslationCaptionText::draw(QPainter *painter, QPointF topLeft, const QColor &color,
    std::optional<std::pair<int, int>> selection, const QColor &selectionColor) const
{
    painter->setPen(color);
    QList<QTextLayout::FormatRange> formats;
    if (selection) {
        QTextLayout::FormatRange range;
        range.start = selection->first;
        range.length = selection->second - selection->first;
        range.format.setBackground(selectionColor);
        range.format.setForeground(color);
        formats.append(range);
    }
    m_layout.draw(painter, topLeft, formats);
}

int LiveTranslationCaptionText::offsetAt(QPointF local) const
{
    const int count = m_layout.lineCount();
    if (count == 0)
        return 0;
    if (local.y() < 0)
        return m_layout.lineAt(0).textStart();
    for (int i = 0; i < count; ++i) {
        const QTextLine line = m_layout.lineAt(i);
        if (local.y() < line.y() + line.height())
            return line.xToCursor(local.x());
    }
    const QTextLine last = m_layout.lineAt(count - 1);
    return last.textStart() + last.textLength();
}

std::pair<int, int> captionWordAt(const QString &text, int offset)
{
    const auto length = static_cast<int>(text.size());
    if (length == 0)
        return {0, 0};
    offset = std::clamp(offset, 0, length - 1);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    finder.setPosition(offset);
    auto end = static_cast<int>(finder.toNextBoundary());
    if (end < 0)
        end = length;
    finder.setPosition(end);
    const auto start = std::max(static_cast<int>(finder.toPreviousBoundary()), 0);
    return {start, end};
}

QSizeF captionBadgeSize(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    return {std::ceil(metrics.horizontalAdvance(text) + 2 * kBadgePaddingX),
        std::ceil(metrics.height() + 2 * kBadgePaddingY)};
}

void paintCaptionBadge(QPainter *painter, QPointF topLeft, const QString &text, const QFont &font,
    const QColor &textColor, const QColor &fillColor)
{
    const QRectF rect(topLeft, captionBadgeSize(text, font));
    painter->setPen(Qt::NoPen);
    painter->setBrush(fillColor);
    painter->drawRoundedRect(rect, kBadgeCornerRadius, kBadgeCornerRadius);
    painter->setFont(font);
    painter->setPen(textColor);
    painter->drawText(rect, Qt::AlignCenter, text);
}

namespace {
void drawCardShape(QPainter *painter, const QRectF &rect, const QColor &fill, const QColor &stroke,
    qreal strokeWidth)
{
    const qreal inset = strokeWidth / 2;
    const QRectF shape = rect.adjusted(inset, inset, -inset, -inset);
    painter->setBrush(fill);
    painter->setPen(QPen(stroke, strokeWidth));
    painter->drawRoundedRect(shape, kCardCornerRadius - inset, kCardCornerRadius - inset);
}

// A card's corners and edges, drawn once per look and scale: stroking a rounded outline for every
// card of every frame costs more than all of the card's text.
constexpr int kFrameMargin = static_cast<int>(kCardCornerRadius) + 1;
constexpr int kFrameSide = 2 * kFrameMargin + 1;

QPixmap framePixmap(const QColor &fill, const QColor &stroke, qreal strokeWidth, qreal ratio)
{
    const QString key = QStringLiteral("tavu.captionCard.%1.%2.%3.%4")
                            .arg(fill.rgba())
                            .arg(stroke.rgba())
                            .arg(strokeWidth)
                            .arg(ratio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const int side = static_cast<int>(std::ceil(kFrameSide * ratio));
    pixmap = QPixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawCardShape(&painter, QRectF(0, 0, kFrameSide, kFrameSide), fill, stroke, strokeWidth);
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}
} // namespace

void paintCaptionCardFrame(QPainter *painter, const QRectF &rect, const QColor &fill,
    const QColor &stroke, qreal strokeWidth)
{
    const QRect whole = rect.toRect();
    const qreal ratio = painter->device()->devicePixelRatioF();
    const bool integral = QRectF(whole) == rect && ratio == std::round(ratio);
    if (!integral || whole.width() < kFrameSide || whole.height() < kFrameSide) {
        drawCardShape(painter, rect, fill, stroke, strokeWidth);
        return;
    }
    const QPixmap pixmap = framePixmap(fill, stroke, strokeWidth, ratio);
    const QMargins margins(kFrameMargin, kFrameMargin, kFrameMargin, kFrameMargin);
    const int device = static_cast<int>(std::lround(kFrameMargin * ratio));
    qDrawBorderPixmap(
        painter, whole, margins, pixmap, pixmap.rect(), QMargins(device, device, device, device));
}
