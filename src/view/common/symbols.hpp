#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

// The panel's symbols, drawn from the Material Icons font compiled into the binary.
namespace symbols {

// Material glyphs sit inside a padded square, system symbols fill their size: the font is this
// much larger than the size asked for, so a symbol matches text and symbols of that size.
inline constexpr qreal kOpticalScale = 1.25;

// The symbol font for a symbol of the given size and weight; loaded from the resource on first
// use.
QFont font(qreal pixelSize, QFont::Weight weight = QFont::Normal);

// The glyph (one character) that draws the named symbol; empty when the name is unknown.
QString glyph(QStringView sfSymbolName);

} // namespace symbols

// One symbol, painted centred in the widget, crisp at any scale. The colour defaults to the
// widget's text colour.
class LiveTranslationSymbol final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationSymbol)

public:
    LiveTranslationSymbol(QStringView name, qreal pixelSize, QWidget *parent = nullptr);

    void setSymbol(QStringView name);
    QString symbol() const { return m_name; }
    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    void setWeight(QFont::Weight weight);
    // A fixed frame in which the symbol is centred; an empty size returns to the glyph's size.
    void setFrameSize(QSize size);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    QString m_glyph;
    qreal m_pixelSize;
    QFont::Weight m_weight = QFont::Normal;
    QColor m_color;
    QSize m_frameSize;
};

// Paints a glyph of the symbol font with its ink box centred in rect.
void paintSymbol(QPainter &painter, const QRectF &rect, const QString &glyph, const QFont &font,
    const QColor &color);
