#pragma once

#include <QColor>
#include <QWidget>

#include "common/palette.hpp"

class QLineEdit;
class LiveTranslationSymbol;

// The language picker's search row: a magnifying glass and a plain text field on a rounded,
// outlined fill.
class LiveTranslationLanguageSearchField final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationLanguageSearchField)

public:
    static constexpr int kHeight = 32;
    static constexpr int kPadding = 10;
    static constexpr int kSpacing = 7;
    static constexpr int kSymbolPixelSize = 15;
    static constexpr int kTextPixelSize = 13;
    static constexpr qreal kCornerRadius = 8;
    static constexpr qreal kBorderWidth = 1;

    explicit LiveTranslationLanguageSearchField(QWidget *parent = nullptr);

    QLineEdit *edit() const { return m_edit; }
    void setColors(const LiveTranslationPalette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LiveTranslationSymbol *m_symbol;
    QLineEdit *m_edit;
    QColor m_fill;
    QColor m_border;
};
