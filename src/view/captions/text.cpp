#include "text.hpp"

#include <cmath>

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
#include <qdrawutil.h>

#include "common/view_support.hpp"

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

// A paragraph that may be cut short is first laid out from enough characters to fill its lines
// with letters a little narrower than the font's average, then from more, as many as the lines
// laid out so far suggest (at least twice as many), each time they run out before the height is
// filled. No letter is taken to be narrower than a third of it.
constexpr qreal kNarrowLetterRatio = 3;
constexpr qreal kFirstPartRatio = 1.5;
constexpr qsizetype kPartGrowth = 2;
constexpr qreal kRefillMargin = 1.25;
// The part grows no further than this many UTF-16 units for each such narrowest letter.
constexpr qreal kUnitsPerLetter = 8;

QString ellipsis()
{
    return QStringLiteral("\u2026");
}

// The stretches between line break opportunities longer than `length` characters, in order.
QList<std::pair<qsizetype, qsizetype>> longRuns(const QString &text, qsizetype length)
{
    QList<std::pair<qsizetype, qsizetype>> runs;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype previous = 0;
    for (qsizetype next = finder.toNextBoundary(); next >= 0; next = finder.toNextBoundary()) {
        if (next - previous > length)
            runs.append({previous, next});
        previous = next;
    }
    return runs;
}

// Host texts are plain: a line feed or carriage return breaks the line. The displayed text keeps
// one character per character of the original, so positions and copies map one to one.
QString displayedText(QStringView text)
{
    QString shown = text.toString();
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

LiveTranslationCaptionText::LiveTranslationCaptionText(
    const QString &text, const QFont &font, qreal width, qreal maxHeight)
    : m_text(text)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Each paragraph reads in its own direction: right-to-left text starts at the right edge.
    const bool rightToLeft = text.isRightToLeft();
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(Qt::AlignAbsolute | (rightToLeft ? Qt::AlignRight : Qt::AlignLeft));
    m_layout.setFont(font);
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);

    const qreal lineWidth = std::max<qreal>(width, 1);
    qsizetype length = text.size();
    qsizetype longest = text.size();
    if (std::isfinite(maxHeight)) {
        // Shaping costs every character handed to the layout: only the part that can show is.
        const QFontMetricsF metrics(font);
        const qreal lines
            = std::floor(std::max(maxHeight, metrics.height()) / metrics.height()) + 2;
        const qreal perLine = lineWidth / std::max<qreal>(metrics.averageCharWidth(), 1);
        const auto whole = static_cast<qreal>(text.size());
        length
            = static_cast<qsizetype>(std::min(std::ceil(lines * perLine * kFirstPartRatio), whole));
        longest = static_cast<qsizetype>(
            std::min(std::ceil(lines * perLine * kNarrowLetterRatio * kUnitsPerLetter), whole));
    }
    int shownLines = -1; // all, unless the text is cut short
    while (true) {
        const qsizetype end = textPartEnd(text, std::min(length, longest));
        m_layout.setText(displayedText(QStringView(text).left(end)));
        if (layOut(lineWidth, maxHeight, -1)) {
            shownLines = m_layout.lineCount() - 1;
            break;
        }
        if (end == text.size())
            break;
        if (length >= longest) {
            // Characters that take no room (marks piled on one letter) end where the part does.
            shownLines = m_layout.lineCount();
            break;
        }
        // The next part is sized by how far this one went, with a margin: one more layout.
        const qreal filled = std::max<qreal>(m_height, 1);
        const qreal needed
            = std::ceil(static_cast<qreal>(end) * kRefillMargin * maxHeight / filled);
        length = std::max(end * kPartGrowth,
            static_cast<qsizetype>(std::min(needed, static_cast<qreal>(longest))));
    }
    m_shownLength = static_cast<int>(text.size());
    if (shownLines > 0) {
        // Laid out again with room for the ellipsis on the last line that fits.
        layOut(lineWidth, maxHeight, shownLines);
        const QTextLine last = m_layout.lineAt(m_layout.lineCount() - 1);
        m_shownLength = last.textStart() + last.textLength();
        const qreal ellipsisWidth = QFontMetricsF(font).horizontalAdvance(ellipsis());
        const qreal x = rightToLeft
            ? last.x() + last.width() - last.naturalTextWidth() - ellipsisWidth
            : last.x() + last.naturalTextWidth();
        m_ellipsisOrigin = QPointF(x, last.y() + last.ascent());
    }
}

// Lays out lines until the text or the height runs out; with a line limit, exactly that many,
// the last one leaving room for an ellipsis. Returns whether a line was left over for lack of
// height (the line left over is laid out too; it is never drawn: the caller lays out again).
bool LiveTranslationCaptionText::layOut(qreal width, qreal maxHeight, int lineLimit)
{
    const QFontMetricsF metrics(m_layout.font());
    const qreal ellipsisWidth = metrics.horizontalAdvance(ellipsis());
    QTextOption wordWrap = m_layout.textOption();
    wordWrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextOption anywhere = wordWrap;
    anywhere.setWrapMode(QTextOption::WrapAnywhere);
    const bool rightToLeft = wordWrap.textDirection() == Qt::RightToLeft;
    // A line that starts in a run longer than any line can hold is broken anywhere at once,
    // which is where breaking at words would end up after a pass over the rest of the run.
    const auto longRun = static_cast<qsizetype>(
        std::ceil(width * kNarrowLetterRatio / std::max<qreal>(metrics.averageCharWidth(), 1)));
    const QList<std::pair<qsizetype, qsizetype>> runs = longRuns(m_layout.text(), longRun);
    qsizetype run = 0;
    qsizetype lineStart = 0;

    bool linesLeft = false;
    qreal y = 0;
    m_naturalWidth = 0;
    m_layout.beginLayout();
    for (int i = 0; lineLimit < 0 || i < lineLimit; ++i) {
        while (run < runs.size() && runs[run].second - lineStart <= longRun)
            ++run;
        m_layout.setTextOption(
            run < runs.size() && runs[run].first <= lineStart ? anywhere : wordWrap);
        QTextLine line = m_layout.createLine();
        if (!line.isValid())
            break;
        const bool last = i == lineLimit - 1;
        const qreal inset = last ? std::min(ellipsisWidth, width - 1) : 0;
        line.setLineWidth(width - inset);
        line.setPosition(QPointF(rightToLeft ? inset : 0, y));
        if (lineLimit < 0 && i > 0 && y + line.height() > maxHeight) {
            linesLeft = true;
            break;
        }
        lineStart = line.textStart() + line.textLength();
        y += line.height();
        m_naturalWidth = std::max(m_naturalWidth, line.naturalTextWidth());
    }
    m_layout.endLayout();
    m_layout.setTextOption(wordWrap);
    m_height = std::ceil(y);
    return linesLeft;
}

void LiveTranslationCaptionText::draw(QPainter *painter, QPointF topLeft, const QColor &color,
    std::optional<std::pair<int, int>> selection, const QColor &selectionColor) const
{
    painter->setPen(color);
    QList<QTextLayout::FormatRange> formats;
    if (selection && selection->first < m_shownLength) {
        QTextLayout::FormatRange range;
        range.start = selection->first;
        range.length = std::min(selection->second, m_shownLength) - selection->first;
        range.format.setBackground(selectionColor);
        range.format.setForeground(color);
        formats.append(range);
    }
    m_layout.draw(painter, topLeft, formats);
    if (isCutShort()) {
        painter->setFont(m_layout.font());
        painter->drawText(topLeft + m_ellipsisOrigin, ellipsis());
    }
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
    // Below a paragraph cut short lies the rest of its text.
    if (isCutShort())
        return static_cast<int>(m_text.size());
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
