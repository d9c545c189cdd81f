#include "view_support.hpp"

#include <QApplication>
#include <QWidget>

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

QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    // Escaped inside an explicit rich-text document, markup characters show as themselves.
    return QStringLiteral("<qt>") + text.toHtmlEscaped() + QStringLiteral("</qt>");
}
