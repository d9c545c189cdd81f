#pragma once

#include <QAbstractButton>

#include "common/button_styles.hpp"
#include "common/palette.hpp"

// The round button between the language picker's columns that swaps source and target.
class LiveTranslationSwapButton final : public TavuKeyboardButton<QAbstractButton> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationSwapButton)

public:
    static constexpr int kSize = 28;
    static constexpr int kSymbolPixelSize = 11;

    explicit LiveTranslationSwapButton(QWidget *parent = nullptr);

    void setColors(const LiveTranslationPalette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LiveTranslationPalette m_palette = LiveTranslationPalette::light();
};
