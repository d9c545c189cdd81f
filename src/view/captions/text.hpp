#pragma once

#include <limits>
#include <optional>
#include <utility>

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextLayout>

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
