#pragma once

#include <QAbstractButton>

#include "button_styles.hpp"

// The header's capsule: an optional leading symbol, a one-line title and a chevron, on a muted
// capsule with a border. The title is drawn as plain text and elided when space runs short.
class LiveTranslationCapsuleButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCapsuleButton)

public:
    static constexpr int kHorizontalPadding = 8;
    static constexpr int kVerticalPadding = 6;
    static constexpr int kSpacing = 5;
    static constexpr int kTitlePixelSize = 11;
    static constexpr int kChevronPixelSize = 8;
    static constexpr qreal kBorderWidth = 1;
    // Material glyphs sit inside a padded square; this brings them to the size of the text.
    static constexpr qreal kSymbolScale = 1.25;
    static constexpr int kMaxTitleWidth = 170;
    static constexpr int kMinTitleWidth = 24;

    struct Colors {
        QColor text;
        QColor fill;
        QColor border;
        bool operator==(const Colors &) const = default;
    };

    explicit LiveTranslationCapsuleButton(QFont::Weight titleWeight, QWidget *parent = nullptr);

    void setLeadingSymbol(QStringView name);
    void setTitle(const QString &title);
    QString title() const { return m_title; }
    void setColors(const Colors &colors);
    Colors colors() const { return m_colors; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QFont titleFont() const;
    qreal fixedWidth() const; // everything but the title

    QString m_leadingGlyph;
    QString m_title;
    QFont::Weight m_titleWeight;
    Colors m_colors;
    buttonlook::FocusRing m_focusRing;
};

// A button without chrome: a text or a symbol in one colour, dimmed while pressed.
class LiveTranslationPlainButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationPlainButton)

public:
    static constexpr qreal kPressedOpacity = 0.55;
    // Room for the focus ring around a text label.
    static constexpr int kTextPadding = 3;
    static constexpr int kTextMinHeight = 24;

    explicit LiveTranslationPlainButton(QWidget *parent = nullptr);

    void setLabel(const QString &text, const QFont &font);
    QString label() const { return m_label; }
    void setSymbol(QStringView name, qreal pixelSize, QFont::Weight weight, QSize frame);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QString m_label;
    QString m_glyph;
    QFont m_font;
    QSize m_frame;
    QColor m_color;
    buttonlook::FocusRing m_focusRing;
};
