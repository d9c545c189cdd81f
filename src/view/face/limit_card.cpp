#include "limit_card.hpp"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "common/accessibility.hpp"
#include "common/button_styles.hpp"
#include "common/symbols.hpp"
#include "common/view_support.hpp"

namespace {

QLabel *centredLabel(const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(font);
    return label;
}

} // namespace

LiveTranslationLimitCard::LiveTranslationLimitCard(QWidget *parent)
    : QWidget(parent)
    , m_symbol(new LiveTranslationSymbol(u"clock", kSymbolPixelSize, this))
    , m_title(centredLabel(systemFont(kTitlePixelSize, QFont::DemiBold), this))
    , m_text(centredLabel(systemFont(kTextPixelSize), this))
    , m_button(new TavuButton({}, this))
{
    setObjectName(QStringLiteral("liveTranslation.limitCard"));
    m_symbol->setWeight(QFont::Light);
    setAccessibleIdentity(m_button, QStringLiteral("liveTranslation.requestMoreTimeButton"));

    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    stack->setSpacing(kSpacing);
    stack->addStretch(1);
    stack->addWidget(m_symbol, 0, Qt::AlignHCenter);
    stack->addWidget(m_title);
    stack->addWidget(m_text);
    stack->addWidget(m_button, 0, Qt::AlignHCenter);
    stack->addStretch(1);

    connect(m_button, &QAbstractButton::clicked, this,
        &LiveTranslationLimitCard::requestMoreTimePressed);
    retranslate();
}

void LiveTranslationLimitCard::render(
    const LiveTranslationHelperSnapshot & /*snapshot*/, const LiveTranslationPalette &palette)
{
    if (m_shownPalette == palette)
        return;
    m_symbol->setColor(palette.secondaryText);
    setTextColor(m_title, palette.foreground);
    setTextColor(m_text, palette.secondaryText);
    m_button->setButtonStyle(TavuPrimaryButtonStyle {palette});
    m_shownPalette = palette;
}

void LiveTranslationLimitCard::retranslate()
{
    m_title->setText(tr("Live Translate limit reached"));
    m_text->setText(tr("Request more time from your Tavu account."));
    m_button->setText(tr("Request more time"));
    m_button->setAccessibleName(tr("Request more Live Translate time"));
}

void LiveTranslationLimitCard::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
