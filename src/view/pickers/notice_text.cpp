#include "notice_text.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include "common/view_support.hpp"

namespace {

// More characters than a line of the notice's font holds at any width the panel gives it, so the
// bound on what is laid out never shortens a line that shows.
constexpr qsizetype kCharactersPerLine = 512;
// The start of text, at least length characters, up to the end of the grapheme cluster there.
QString textPart(const QString &text, qsizetype length)
{
    return text.left(textPartEnd(text, length));
}

QString withoutBreaks(QString text)
{
    text.replace(QChar::LineSeparator, u' ');
    return text;
}

} // namespace

LiveTranslationNoticeText::LiveTranslationNoticeText(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void LiveTranslationNoticeText::setNotice(const QString &notice)
{
    if (notice == text())
        return;
    setText(notice);
    m_hintWidth = -1;
    updateGeometry();
    updateShown();
}

LiveTranslationNoticeText::Layout LiveTranslationNoticeText::layoutLines(
    int width, qreal maxHeight) const
{
    Layout result;
    const QString &notice = text();
    if (notice.isEmpty() || width <= 0)
        return result;
    QString laidOut = textPart(notice, kMaxLines * kCharactersPerLine);
    const bool cut = laidOut.size() < notice.size();
    laidOut.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    laidOut.replace(u'\n', QChar::LineSeparator);
    laidOut.replace(u'\r', QChar::LineSeparator);

    QTextLayout layout(laidOut, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    int lastStart = 0;
    bool more = false;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        const bool fits = result.lines.isEmpty()
            || (result.lines.size() < kMaxLines && height + line.height() <= maxHeight);
        if (!fits) {
            more = true;
            break;
        }
        height += line.height();
        result.lineHeights.append(line.height());
        lastStart = line.textStart();
        result.lines.append(
            withoutBreaks(laidOut.mid(line.textStart(), line.textLength())).trimmed());
    }
    layout.endLayout();

    result.height = int(std::ceil(height));
    result.elided = more || cut;
    if (result.elided) {
        const QFontMetricsF metrics(font());
        const QString rest = withoutBreaks(laidOut.mid(lastStart)).trimmed();
        QString last = metrics.elidedText(rest, Qt::ElideRight, width);
        if (last == rest)
            last = metrics.elidedText(rest + QChar(0x2026), Qt::ElideRight, width);
        result.lines.last() = last;
    }
    return result;
}

int LiveTranslationNoticeText::heightForWidth(int width) const
{
    if (width != m_hintWidth) {
        m_hintWidth = width;
        m_hintHeight = layoutLines(width, std::numeric_limits<qreal>::infinity()).height;
    }
    return m_hintHeight;
}

QSize LiveTranslationNoticeText::sizeHint() const
{
    const int width = this->width() > 0 ? this->width() : 200;
    return {width, heightForWidth(width)};
}

QSize LiveTranslationNoticeText::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.averageCharWidth() * 4, text().isEmpty() ? 0 : metrics.height()};
}

void LiveTranslationNoticeText::updateShown()
{
    const Layout layout = layoutLines(width(), height());
    m_elided = layout.elided;
    m_lineHeights = layout.lineHeights;
    if (layout.lines != m_shown) {
        m_shown = layout.lines;
        setAccessibleName(m_shown.join(u' '));
        update();
    }
    // The whole notice, up to a length hover help and a screen reader can still present.
    QString described;
    if (m_elided) {
        described = textPart(text(), kDescribedLength);
        if (described.size() < text().size())
            described += QChar(0x2026);
    }
    if (accessibleDescription() != described) {
        setAccessibleDescription(described);
        setToolTip(plainToolTip(described));
    }
}

void LiveTranslationNoticeText::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    qreal y = 0;
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        const QString &line = m_shown.at(i);
        const Qt::Alignment side = line.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(QRectF(0, y, width(), m_lineHeights.at(i)),
            int(side | Qt::AlignTop | Qt::TextSingleLine), line);
        y += m_lineHeights.at(i);
    }
}

void LiveTranslationNoticeText::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateShown();
}

void LiveTranslationNoticeText::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_hintWidth = -1;
        updateGeometry();
        updateShown();
    }
}
