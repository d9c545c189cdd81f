#include "language_search_field.hpp"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>

#include "common/symbols.hpp"
#include "common/view_support.hpp"

LiveTranslationLanguageSearchField::LiveTranslationLanguageSearchField(QWidget *parent)
    : QWidget(parent)
    , m_symbol(new LiveTranslationSymbol(u"magnifyingglass", kSymbolPixelSize, this))
    , m_edit(new QLineEdit(this))
{
    setFixedHeight(kHeight);
    m_edit->setFrame(false);
    m_edit->setFont(systemFont(kTextPixelSize));
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(kPadding, 0, kPadding, 0);
    layout->setSpacing(kSpacing);
    layout->addWidget(m_symbol, 0, Qt::AlignVCenter);
    layout->addWidget(m_edit, 1, Qt::AlignVCenter);
}

void LiveTranslationLanguageSearchField::setColors(const LiveTranslationPalette &palette)
{
    m_fill = palette.mutedSurface;
    m_border = palette.border;
    m_symbol->setColor(palette.tertiaryText);
    // The panel's colours, selection included; the field is drawn on this widget's fill.
    QPalette colors = palette.toQPalette();
    colors.setColor(QPalette::Base, Qt::transparent);
    m_edit->setPalette(colors);
    update();
}

void LiveTranslationLanguageSearchField::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = kBorderWidth / 2;
    painter.setPen(QPen(m_border, kBorderWidth));
    painter.setBrush(m_fill);
    painter.drawRoundedRect(
        QRectF(rect()).adjusted(inset, inset, -inset, -inset), kCornerRadius, kCornerRadius);
}
