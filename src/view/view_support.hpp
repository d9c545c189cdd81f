#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

// Small helpers the panel's areas share to keep a render pass cheap: each changes a widget only
// when the value differs from what it already shows.

// The widget's text colour (QPalette::WindowText and Text).
void setTextColor(QWidget *widget, const QColor &color);

// The application font at a pixel size and weight.
QFont systemFont(int pixelSize, QFont::Weight weight = QFont::Normal);

void setFontIfChanged(QWidget *widget, const QFont &font);

// Hover help that shows text exactly as given, never as markup.
QString plainToolTip(const QString &text);
