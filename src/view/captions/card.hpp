#pragma once

#include <memory>

#include <QFont>
#include <QString>

#include "captions/selection.hpp"
#include "captions/text.hpp"
#include "wire_types.hpp"

class QPainter;
struct LiveTranslationPalette;

// Measures of a committed card that do not depend on its texts, for estimating the height of a
// card that has not been laid out yet.
struct LiveTranslationCardEstimate {
    qreal textWidth = 1;
    qreal fixedHeight = 0; // padding, header and the gap above the translation
    qreal sourceGap = 0; // the source text's gap below it, when source texts show
    qreal sourceLineHeight = 0;
    qreal sourceUnitWidth = 0;
    qreal translationLineHeight = 0;
    qreal translationUnitWidth = 0;
    bool showsSource = true;
    qreal maxTextHeight = LiveTranslationCaptionText::kUnbounded; // of each text

    static LiveTranslationCardEstimate forCards(const LiveTranslationCaptionFonts &fonts,
        qreal cardWidth, bool showsSource, qreal maxTextHeight);
    qreal height(float sourceUnits, float translationUnits) const;

    bool operator==(const LiveTranslationCardEstimate &) const = default;
};

// One committed card laid out at one width: the header with the "TRANSLATED" badge and the time,
// the source text while originals show, and the translation, each no taller than a limit.
class LiveTranslationCommittedCardLayout final {
    Q_DISABLE_COPY_MOVE(LiveTranslationCommittedCardLayout)

public:
    using Position = LiveTranslationCaptionTextPosition;

    LiveTranslationCommittedCardLayout(const LiveTranslationHelperCommittedCard &card,
        bool showsSource, qreal cardWidth, qreal maxTextHeight,
        const LiveTranslationCaptionFonts &fonts);

    qreal height() const { return m_height; }
    const QString &timeText() const { return m_time; }
    // The source or translation paragraph; null for a source text that is not shown.
    const LiveTranslationCaptionText *text(int block) const;

    void paint(QPainter *painter, QPointF topLeft, const LiveTranslationPalette &palette,
        const LiveTranslationCaptionSelection &selection, std::size_t card) const;
    // The text position nearest to a point relative to the card's top left.
    Position positionAt(QPointF local, std::size_t card) const;

private:
    qreal m_width = 0;
    QString m_badge;
    QString m_time;
    QFont m_badgeFont;
    QFont m_timeFont;
    qreal m_headerHeight = 0;
    std::unique_ptr<LiveTranslationCaptionText> m_source;
    QPointF m_sourceOrigin;
    std::unique_ptr<LiveTranslationCaptionText> m_translation;
    QPointF m_translationOrigin;
    qreal m_height = 0;
};
