#pragma once

#include <QAbstractButton>

#include "common/button_styles.hpp"

// The header's capsule: an optional leading symbol, a one-line title and a chevron, on a muted
// capsule with a border. The title is drawn as plain text and elided when space runs short.
class LiveTranslationCapsuleButton final : public TavuKeyboardButton<QAbstractButton> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCapsuleButton)

public:
    static constexpr int kHorizontalPadding = 8;
    static constexpr int kVerticalPadding = 6;
    static constexpr int kSpacing = 5;
    static constexpr int kTitlePixelSize = 11;
    static constexpr int kChevronPixelSize = 8;
    static constexpr qreal kBorderWidth = 1;
    static constexpr int kMaxTitleWidth = 150;
    static constexpr int kMinTitleWidth = 24;

    struct Colors {
        QColor text;
        QColor fill;
        QColor border;
        QColor ring; // the keyboard focus ring
        bool operator==(const Colors &) const = default;
    };

    explicit LiveTranslationCapsuleButton(QFont::Weight titleWeight, QWidget *parent = nullptr);

    void setLeadingSymbol(QStringView name);
    void setTitle(const QString &title);
    QString title() const { return m_title; }
    // How narrow the title may get before the capsule stops shrinking (then the header's other
    // parts give way first).
    void setMinimumTitleWidth(int width);
    void setColors(const Colors &colors);
    Colors colors() const { return m_colors; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QFont titleFont() const;
    qreal fixedWidth() const; // everything but the title
    qreal titleWidth() const; // what this width leaves for the title
    void updateToolTip();

    QString m_leadingGlyph;
    QString m_title;
    QFont::Weight m_titleWeight;
    int m_minTitleWidth = kMinTitleWidth;
    Colors m_colors;
};
