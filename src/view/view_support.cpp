#include "view_support.hpp"

#include <QTextBoundaryFinder>
#include <algorithm>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == color && palette.color(QPalette::Text) == color)
        return;
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QFont systemFont(int pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

void setFontIfChanged(QWidget *widget, const QFont &font)
{
    if (widget->font() != font)
        widget->setFont(font);
}

qsizetype textPartEnd(const QString &text, qsizetype length)
{
    constexpr qsizetype kLongestCluster = 64;
    if (length >= text.size())
        return text.size();
    const qsizetype windowEnd = std::min(text.size(), length + kLongestCluster + 1);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.constData(), windowEnd);
    finder.setPosition(length);
    if (finder.isAtBoundary())
        return length;
    const qsizetype next = finder.toNextBoundary();
    if (next > 0 && (next < windowEnd || windowEnd == text.size()))
        return next;
    if (text.at(length).isLowSurrogate() && text.at(length - 1).isHighSurrogate())
        ++length;
    return length;
}

int screenHeightFor(const QWidget *widget)
{
    constexpr int kFallbackHeight = 1200;
    const QScreen *screen = widget->screen();
    return screen ? screen->availableGeometry().height() : kFallbackHeight;
}

QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    // Escaped inside an explicit rich-text document, markup characters show as themselves.
    return QStringLiteral("<qt>") + text.toHtmlEscaped() + QStringLiteral("</qt>");
}
