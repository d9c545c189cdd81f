#include "button_styles.hpp"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

QFont styledFont(const QFont &base, int pixelSize, QFont::Weight weight)
{
    QFont font = base;
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QSize paddedSize(const QString &label, const QFont &font, int padding, int height)
{
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(label);
    return {qCeil(textWidth) + 2 * padding, height};
}

QPainterPath roundedBox(const QRectF &box, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

void paintLabel(QPainter &painter, const QRectF &box, const QString &label, const QFont &font,
    const QColor &color)
{
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, label);
}

} // namespace

QFont TavuPrimaryButtonStyle::font(const QFont &base) const
{
    return styledFont(base, kFontPixelSize, QFont::DemiBold);
}

QColor TavuPrimaryButtonStyle::textColor(bool /*pressed*/) const
{
    // Dark on the accent fill in both schemes: the accent is bright in both.
    return withOpacity(Qt::black, kTextOpacity);
}

QColor TavuPrimaryButtonStyle::fillColor(bool pressed) const
{
    return withOpacity(palette.accent, pressed ? kPressedFillOpacity : 1.0);
}

QSize TavuPrimaryButtonStyle::sizeFor(const QString &label, const QFont &base) const
{
    return paddedSize(label, font(base), kHorizontalPadding, kHeight);
}

void TavuPrimaryButtonStyle::paint(QPainter &painter, const QRectF &box, const QString &label,
    const QFont &base, bool pressed) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedBox(box, kCornerRadius), fillColor(pressed));
    paintLabel(painter, box, label, font(base), textColor(pressed));
    painter.restore();
}

QFont TavuSecondaryButtonStyle::font(const QFont &base) const
{
    return styledFont(base, kFontPixelSize, QFont::Medium);
}

QColor TavuSecondaryButtonStyle::textColor(bool pressed) const
{
    return withOpacity(palette.foreground, pressed ? kPressedTextOpacity : 1.0);
}

QColor TavuSecondaryButtonStyle::fillColor(bool /*pressed*/) const
{
    return palette.mutedSurface;
}

QSize TavuSecondaryButtonStyle::sizeFor(const QString &label, const QFont &base) const
{
    return paddedSize(label, font(base), kHorizontalPadding, kHeight);
}

void TavuSecondaryButtonStyle::paint(QPainter &painter, const QRectF &box, const QString &label,
    const QFont &base, bool pressed) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedBox(box, kCornerRadius), fillColor(pressed));
    // The stroke lies just inside the box, so the widget's edge does not clip half of it.
    const qreal inset = kBorderWidth / 2;
    QPen pen(borderColor(), kBorderWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedBox(box.adjusted(inset, inset, -inset, -inset), kCornerRadius - inset));
    paintLabel(painter, box, label, font(base), textColor(pressed));
    painter.restore();
}

namespace buttonlook {

bool isActivationKey(const QKeyEvent *event)
{
    return !event->isAutoRepeat()
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool hasKeyboardFocus(const QWidget *widget)
{
    const auto *control = dynamic_cast<const KeyboardFocus *>(widget);
    return control && control->hasKeyboardFocus();
}

void FocusRing::focusIn(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::PopupFocusReason: m_keyboard = false; break;
    case Qt::ActiveWindowFocusReason: break; // the window came back: show what was shown before
    default: m_keyboard = true; break;
    }
}

void paintFocusRing(QPainter &painter, const QRectF &box, qreal cornerRadius, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, kFocusRingWidth));
    painter.setBrush(Qt::NoBrush);
    const QRectF ring
        = box.adjusted(kFocusRingInset, kFocusRingInset, -kFocusRingInset, -kFocusRingInset);
    const qreal radius = qMax<qreal>(0, cornerRadius - kFocusRingInset);
    painter.drawRoundedRect(ring, radius, radius);
    painter.restore();
}

} // namespace buttonlook

TavuButton::TavuButton(const QString &text, QWidget *parent)
    : TavuKeyboardButton<QPushButton>(text, parent)
    , m_style(TavuPrimaryButtonStyle {LiveTranslationPalette::light()})
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
}

template <typename Style> void TavuButton::applyStyle(const Style &style)
{
    if (const auto *current = std::get_if<Style>(&m_style); current && *current == style)
        return;
    const QSize before = sizeHint();
    m_style = style;
    if (sizeHint() != before)
        updateGeometry();
    update();
}

void TavuButton::setButtonStyle(const TavuPrimaryButtonStyle &style)
{
    applyStyle(style);
}

void TavuButton::setButtonStyle(const TavuSecondaryButtonStyle &style)
{
    applyStyle(style);
}

QSize TavuButton::sizeHint() const
{
    return std::visit([this](const auto &style) { return style.sizeFor(text(), font()); }, m_style);
}

void TavuButton::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(buttonlook::kDisabledOpacity);
    const QRectF box(rect());
    const bool pressed = isDown();
    std::visit(
        [&](const auto &style) {
            style.paint(painter, box, text(), font(), pressed);
            if (showsFocusRing())
                buttonlook::paintFocusRing(painter, box, style.kCornerRadius,
                    style.palette.focusRingOn(style.fillColor(false)));
        },
        m_style);
}
