#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextLayout>
#include <compare>
#include <cstddef>
#include <limits>
#include <optional>
#include <utility>

class QPainter;

// The fonts of the captions, from the application font; "monospaced" is the system fixed font.
struct LiveTranslationCaptionFonts {
    QFont badge; // "TRANSLATED"
    QFont nowBadge; // "NOW"
    QFont time; // a card's hour and minute
    QFont source; // a source text
    QFont translation; // a committed translation
    QFont activeHeader; // "LISTENING", "LIVE TRANSLATION"
    QFont activeTranslation; // the live translation
    QFont sourcePlaceholder; // the live card waiting for a source
    QFont waitingPlaceholder; // the live card waiting for a translation
    QFont note; // the live card's footer note

    static LiveTranslationCaptionFonts fromApplication();
};

// A position in a caption's texts: the card (0 for the live card), which text, which character.
struct LiveTranslationCaptionTextPosition {
    enum Block : int { source = 0, translation = 1 };

    std::size_t card = 0;
    int block = source;
    int offset = 0; // UTF-16 position, 0..length

    // NOLINTNEXTLINE(modernize-use-nullptr): a false positive on a defaulted comparison
    auto operator<=>(const LiveTranslationCaptionTextPosition &) const = default;
};

// The text the user selected with the mouse: from an anchor to where the mouse is.
class LiveTranslationCaptionSelection final {
public:
    using Position = LiveTranslationCaptionTextPosition;

    bool isEmpty() const { return m_anchor == m_focus; }
    void clear() { m_anchor = m_focus = {}; }
    void select(Position anchor, Position focus)
    {
        m_anchor = anchor;
        m_focus = focus;
    }
    void extendTo(Position focus) { m_focus = focus; }
    Position anchor() const { return m_anchor; }
    Position focus() const { return m_focus; }
    Position start() const { return std::min(m_anchor, m_focus); }
    Position end() const { return std::max(m_anchor, m_focus); }

    // The selected part [from, to) of one text of one card, if any.
    std::optional<std::pair<int, int>> rangeIn(std::size_t card, int block, int length) const;

private:
    Position m_anchor;
    Position m_focus;
};

// One wrapped paragraph of plain text: never markup, long words broken anywhere, right-to-left
// paragraphs aligned to the right. Only the lines that fit `maxHeight` are laid out, from a
// part of the text that grows with what fits rather than with the text; a paragraph cut short
// ends in an ellipsis. The whole text stays the paragraph's text for selection and copy.
class LiveTranslationCaptionText final {
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptionText)

public:
    static constexpr qreal kUnbounded = std::numeric_limits<qreal>::infinity();

    LiveTranslationCaptionText(
        const QString &text, const QFont &font, qreal width, qreal maxHeight = kUnbounded);

    const QString &text() const { return m_text; }
    qreal height() const { return m_height; }
    qreal naturalWidth() const { return m_naturalWidth; }
    // The lines laid out, and the characters they hold; fewer than the text's when cut short.
    int lineCount() const { return m_layout.lineCount(); }
    int shownLength() const { return m_shownLength; }
    bool isCutShort() const { return m_shownLength < m_text.size(); }

    void draw(QPainter *painter, QPointF topLeft, const QColor &color,
        std::optional<std::pair<int, int>> selection = std::nullopt,
        const QColor &selectionColor = {}) const;
    // The cursor position nearest to a point given relative to the paragraph's top left.
    int offsetAt(QPointF local) const;

private:
    bool layOut(qreal width, qreal maxHeight, int lineLimit);

    QString m_text;
    QTextLayout m_layout;
    qreal m_height = 0;
    qreal m_naturalWidth = 0;
    int m_shownLength = 0;
    QPointF m_ellipsisOrigin; // the baseline's start of the ellipsis, when cut short
};

// Start and end of the word around a position, for a double click.
std::pair<int, int> captionWordAt(const QString &text, int offset);

// A small rounded badge with one line of text.
QSizeF captionBadgeSize(const QString &text, const QFont &font);
void paintCaptionBadge(QPainter *painter, QPointF topLeft, const QString &text, const QFont &font,
    const QColor &textColor, const QColor &fillColor);

// A card's rounded rectangle: filled, then stroked inside its bounds.
void paintCaptionCardFrame(QPainter *painter, const QRectF &rect, const QColor &fill,
    const QColor &stroke, qreal strokeWidth);
