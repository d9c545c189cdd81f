#include "status_dot.hpp"

#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

QColor statusColor(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    using Lifecycle = LiveTranslationHelperLifecycle;
    if (snapshot.hasFailure)
        return palette.warning;
    switch (snapshot.lifecycle) {
    case Lifecycle::listening: return palette.accent;
    case Lifecycle::inactive: return palette.tertiaryText;
    case Lifecycle::preparing:
    case Lifecycle::connecting:
    case Lifecycle::reconnecting:
    case Lifecycle::stopping: break;
    }
    return palette.warning;
}

LiveTranslationStatusDot::LiveTranslationStatusDot(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LiveTranslationStatusDot::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize LiveTranslationStatusDot::sizeHint() const
{
    const int side = qCeil(kDiameter + 2 * kShadowRadius);
    return {side, side};
}

void LiveTranslationStatusDot::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QPointF c = centre();
    const qreal r = kDiameter / 2;

    // A blurred disc: full shadow strength under the dot, fading out over the shadow radius.
    QRadialGradient shadow(c, r + kShadowRadius);
    const qreal edge = r / (r + kShadowRadius);
    shadow.setColorAt(0, withOpacity(m_color, kShadowOpacity));
    shadow.setColorAt(edge, withOpacity(m_color, kShadowOpacity * 0.6));
    shadow.setColorAt(edge + (1 - edge) * 0.5, withOpacity(m_color, kShadowOpacity * 0.18));
    shadow.setColorAt(1, withOpacity(m_color, 0));
    painter.setBrush(shadow);
    painter.drawEllipse(c, r + kShadowRadius, r + kShadowRadius);

    painter.setBrush(m_color);
    painter.drawEllipse(c, r, r);
}
