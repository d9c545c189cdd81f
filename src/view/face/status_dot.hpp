#pragma once

#include <QColor>
#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

// The colour of the status dot: warning on a failure or while the session changes state,
// accent while listening, tertiary text while inactive.
QColor statusColor(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

// The 7 × 7 dot with its soft shadow in the same colour.
class LiveTranslationStatusDot final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationStatusDot)

public:
    static constexpr qreal kDiameter = 7;
    static constexpr qreal kShadowRadius = 3;
    static constexpr qreal kShadowOpacity = 0.35;

    explicit LiveTranslationStatusDot(QWidget *parent = nullptr);

    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    // The dot's centre in widget coordinates; the shadow needs room around it.
    QPointF centre() const { return QRectF(rect()).center(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};
