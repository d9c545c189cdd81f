#pragma once

#include <QAbstractButton>

#include "common/button_styles.hpp"

// A button without chrome: a text or a symbol in one colour, dimmed while pressed.
class LiveTranslationPlainButton final : public TavuKeyboardButton<QAbstractButton> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationPlainButton)

public:
    // Room for the focus ring around a text label.
    static constexpr int kTextPadding = 3;
    static constexpr int kTextMinHeight = 24;

    explicit LiveTranslationPlainButton(QWidget *parent = nullptr);

    void setLabel(const QString &text, const QFont &font);
    QString label() const { return m_label; }
    void setSymbol(QStringView name, qreal pixelSize, QFont::Weight weight, QSize frame);
    // ring: the keyboard focus ring's colour.
    void setColor(const QColor &color, const QColor &ring);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_label;
    QString m_glyph;
    QFont m_font;
    QSize m_frame;
    QColor m_color;
    QColor m_ring;
};
