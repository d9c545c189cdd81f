#pragma once

#include <QCheckBox>

#include "common/button_styles.hpp"
#include "common/palette.hpp"

// The "Original" checkbox, drawn in the panel's colours: a rounded box filled with the accent
// when checked. It stays a QCheckBox, so keyboard, mouse and assistive technology work as usual.
class LiveTranslationSourceToggle final : public QCheckBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationSourceToggle)

public:
    // Room around the box for the focus ring.
    static constexpr int kRingOutset = 3;

    explicit LiveTranslationSourceToggle(const QString &text, QWidget *parent = nullptr);

    void setColors(const LiveTranslationPalette &palette);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }

private:
    LiveTranslationPalette m_palette;
    buttonlook::FocusRing m_focusRing;
};
