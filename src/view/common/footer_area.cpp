#include "footer_area.hpp"

#include <QPainter>
#include <QVBoxLayout>

LiveTranslationFooter::LiveTranslationFooter(QWidget *parent)
    : QWidget(parent)
    , m_stack(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("liveTranslation.footer"));
    // The content keeps kHorizontalPadding itself, so that what it draws past its controls' edges
    // (a focus ring) has room inside it.
    m_stack->setContentsMargins(0, kVerticalPadding, 0, kVerticalPadding);
    m_stack->setSpacing(kSpacing);
}

void LiveTranslationFooter::setContent(QWidget *content)
{
    if (m_content == content)
        return;
    delete m_content;
    m_content = content;
    if (content)
        m_stack->addWidget(content);
}

void LiveTranslationFooter::render(
    const LiveTranslationHelperSnapshot & /*snapshot*/, const LiveTranslationPalette &palette)
{
    if (m_fill != palette.background) {
        m_fill = palette.background;
        update();
    }
    // The captions footer renders here: m_content->render(snapshot, palette).
}

void LiveTranslationFooter::paintEvent(QPaintEvent * /*event*/)
{
    QPainter(this).fillRect(rect(), m_fill);
}
