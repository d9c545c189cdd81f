#include "divider.hpp"

#include <QPainter>

LiveTranslationDivider::LiveTranslationDivider(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(kThickness);
}

void LiveTranslationDivider::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void LiveTranslationDivider::paintEvent(QPaintEvent * /*event*/)
{
    QPainter(this).fillRect(rect(), m_color);
}
