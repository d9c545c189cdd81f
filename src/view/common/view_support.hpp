#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QBoxLayout;
class QIcon;
class QPixmap;
class QScrollBar;
class QSize;
class QWidget;
struct LiveTranslationPalette;

// Small helpers the panel's areas share to keep a render pass cheap: each changes a widget only
// when the value differs from what it already shows.

// The widget's text colour (QPalette::WindowText and Text).
void setTextColor(QWidget *widget, const QColor &color);

// The application font at a pixel size and weight.
QFont systemFont(int pixelSize, QFont::Weight weight = QFont::Normal);

void setFontIfChanged(QWidget *widget, const QFont &font);

// Where a part of a text that holds at least `length` UTF-16 units may end: on a grapheme cluster
// boundary found by looking only at the characters around it, so the cost does not grow with the
// text. A cluster longer than 64 units (marks piled on one letter) may be cut, but never between
// the halves of a surrogate pair.
qsizetype textPartEnd(const QString &text, qsizetype length);

// The height of the screen a widget is on (its available area): no text is ever laid out taller
// than this, since no more of it could be seen at once.
int screenHeightFor(const QWidget *widget);

// Hover help that shows text exactly as given, never as markup.
QString plainToolTip(const QString &text);

// Adds a widget that paints past its ink on the leading side (a shadow, a focus ring) so that
// the ink, not the widget's rect, sits on the layout's leading edge: the widget reaches overhang
// pixels out into the margin. The widget is already a child of the layout's widget.
void addWidgetWithLeadingOverhang(QBoxLayout *layout, QWidget *widget, int overhang,
    int stretch = 0, Qt::Alignment alignment = {});

// The icon's image scaled, smoothly, to fit the frame with its aspect ratio kept: the largest
// image the icon has, so that a small icon is stretched, not drawn at its own size as
// QIcon::paint does. Its device pixel ratio is the given one.
QPixmap fittedPixmap(const QIcon &icon, const QSize &frame, qreal devicePixelRatio);

// The panel's one scroll bar look: a thin rounded handle on a clear track, no arrows, stronger
// under the pointer. Restyles the bar only when the palette changes its look.
void setScrollBarLook(QScrollBar *bar, const LiveTranslationPalette &palette);
