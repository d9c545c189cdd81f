#include "toggle.hpp"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr qreal kBoxSize = 14;
constexpr qreal kBoxRadius = 4;
constexpr qreal kBoxStroke = 1;
constexpr qreal kCheckStroke = 1.8;
constexpr int kLabelSpacing = 6;
constexpr int kRingOutset = LiveTranslationSourceToggle::kRingOutset;
} // namespace

LiveTranslationSourceToggle::LiveTranslationSourceToggle(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
    , m_palette(LiveTranslationPalette::light())
{
}

void LiveTranslationSourceToggle::setColors(const LiveTranslationPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    update();
}

QSize LiveTranslationSourceToggle::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int box = static_cast<int>(kBoxSize) + 2 * kRingOutset;
    return {
        box + kLabelSpacing + metrics.horizontalAdvance(text()), std::max(box, metrics.height())};
}

void LiveTranslationSourceToggle::focusInEvent(QFocusEvent *event)
{
    m_focusRing.focusIn(event->reason());
    QCheckBox::focusInEvent(event);
}

void LiveTranslationSourceToggle::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(buttonlook::kDisabledOpacity);
    const QRectF box(kRingOutset, (height() - kBoxSize) / 2, kBoxSize, kBoxSize);
    const bool checked = isChecked();
    const QColor mark = TavuPrimaryButtonStyle {m_palette}.textColor(false);
    const qreal inset = kBoxStroke / 2;
    painter.setPen(checked ? QPen(Qt::NoPen) : QPen(m_palette.tertiaryText, kBoxStroke));
    painter.setBrush(checked ? m_palette.accent : m_palette.surface);
    painter.drawRoundedRect(box.adjusted(inset, inset, -inset, -inset), kBoxRadius, kBoxRadius);
    if (checked) {
        QPainterPath check;
        check.moveTo(box.left() + 3.5, box.center().y() + 0.2);
        check.lineTo(box.left() + 6, box.bottom() - 3.8);
        check.lineTo(box.right() - 3.2, box.top() + 4);
        painter.setPen(QPen(mark, kCheckStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(check);
    }
    if (m_focusRing.visible(this))
        buttonlook::paintFocusRing(painter,
            box.adjusted(-kRingOutset, -kRingOutset, kRingOutset, kRingOutset),
            kBoxRadius + kRingOutset, m_palette.focusRingOn(m_palette.background));

    painter.setOpacity(isDown() ? 0.65 : painter.opacity());
    painter.setPen(m_palette.foreground);
    painter.setFont(font());
    const QRectF label(box.right() + kRingOutset + kLabelSpacing, 0,
        width() - box.right() - kRingOutset - kLabelSpacing, height());
    painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, text());
}
