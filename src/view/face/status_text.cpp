#include "status_text.hpp"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include "common/accessibility.hpp"
#include "common/view_support.hpp"

LiveTranslationStatusText::LiveTranslationStatusText(QWidget *parent)
    : QWidget(parent)
{
    setFont(systemFont(kFontPixelSize, QFont::Medium));
    // Its hint is the narrow minimum and it expands into whatever the header leaves free, so a
    // long message is elided before any button is squeezed.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

namespace {
// One line: line breaks in the message read as blanks.
QString singleLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

// However long the message, the header shows one line of it: what is measured, elided and drawn
// is never longer than this, so that a huge message costs no more than a long one.
constexpr qsizetype kLongestLine = 1024;

QString shownLine(const QString &text)
{
    const qsizetype end = textPartEnd(text, kLongestLine);
    QString line = singleLine(text.left(end));
    if (end < text.size())
        line += QChar(0x2026);
    return line;
}
} // namespace

void LiveTranslationStatusText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_line = shownLine(text);
    setAccessibleValueText(this, text);
    updateGeometry();
    updateToolTip();
    update();
}

void LiveTranslationStatusText::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize LiveTranslationStatusText::sizeHint() const
{
    return minimumSizeHint();
}

QSize LiveTranslationStatusText::minimumSizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal full = metrics.horizontalAdvance(m_line);
    const qreal narrow = metrics.horizontalAdvance(QStringLiteral("Mm…"));
    return {qCeil(qMin(full, narrow)), qCeil(metrics.height())};
}

void LiveTranslationStatusText::paintEvent(QPaintEvent * /*event*/)
{
    if (m_text.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(m_color);
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    const QString shown = metrics.elidedText(m_line, Qt::ElideRight, width());
    painter.drawText(QRectF(rect()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void LiveTranslationStatusText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void LiveTranslationStatusText::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateToolTip();
}

// An elided message shows in full as hover help.
void LiveTranslationStatusText::updateToolTip()
{
    const bool elided = QFontMetricsF(font()).horizontalAdvance(m_line) > width();
    const QString tip = elided ? plainToolTip(m_line) : QString();
    if (toolTip() != tip)
        setToolTip(tip);
}
