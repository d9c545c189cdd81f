#include "empty_state.hpp"

#include <QLabel>
#include <QVBoxLayout>

#include "common/symbols.hpp"
#include "common/view_support.hpp"

namespace {
constexpr int kVerticalPadding = 52;
constexpr int kSpacing = 8;
constexpr int kSymbolPixelSize = 24;
constexpr int kTitlePixelSize = 14;
constexpr int kBodyPixelSize = 12;

QLabel *centredLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}
} // namespace

LiveTranslationCaptionsEmptyState::LiveTranslationCaptionsEmptyState(QWidget *parent)
    : QWidget(parent)
    , m_symbol(new LiveTranslationSymbol(u"captions.bubble", kSymbolPixelSize, this))
    , m_title(centredLabel(this))
    , m_body(centredLabel(this))
{
    setObjectName(QStringLiteral("liveTranslation.captionsEmptyState"));
    m_symbol->setWeight(QFont::Light);
    m_title->setObjectName(QStringLiteral("liveTranslation.captionsEmptyTitle"));
    m_title->setFont(systemFont(kTitlePixelSize, QFont::DemiBold));
    m_body->setFont(systemFont(kBodyPixelSize));
    m_body->setText(tr("Original phrases and translations stay paired here."));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, kVerticalPadding, 0, kVerticalPadding);
    column->setSpacing(kSpacing);
    column->addWidget(m_symbol, 0, Qt::AlignHCenter);
    column->addWidget(m_title);
    column->addWidget(m_body);
    render(false, LiveTranslationPalette::light());
}

void LiveTranslationCaptionsEmptyState::render(
    bool isSessionActive, const LiveTranslationPalette &palette)
{
    const QString title = isSessionActive ? tr("Listening for the first phrase…")
                                          : tr("Ready when the conversation starts");
    if (m_title->text() != title)
        m_title->setText(title);
    m_symbol->setColor(palette.tertiaryText);
    setTextColor(m_title, palette.foreground);
    setTextColor(m_body, palette.secondaryText);
}

QString LiveTranslationCaptionsEmptyState::title() const
{
    return m_title->text();
}

int LiveTranslationCaptionsEmptyState::heightForWidth(int width) const
{
    return layout()->totalHeightForWidth(width);
}
