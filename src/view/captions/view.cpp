#include "view.hpp"

#include <QResizeEvent>
#include <QVBoxLayout>

#include "captions/active_card.hpp"
#include "captions/list.hpp"
#include "captions/logic.hpp"
#include "common/divider.hpp"

namespace {
constexpr int kActiveSectionPadding = 12;
// However long the live caption, the list above it keeps room for a short card.
constexpr int kListRoom = 120;
} // namespace

LiveTranslationCaptionsView::LiveTranslationCaptionsView(QWidget *parent)
    : QWidget(parent)
    , m_list(new LiveTranslationCaptionList(this))
    , m_divider(new LiveTranslationDivider(this))
    , m_activeSection(new QWidget(this))
    , m_activeCard(new LiveTranslationActiveCard(m_activeSection))
{
    setObjectName(QStringLiteral("liveTranslation.captionsColumn"));
    auto *section = new QVBoxLayout(m_activeSection);
    section->setContentsMargins(
        kActiveSectionPadding, kActiveSectionPadding, kActiveSectionPadding, kActiveSectionPadding);
    section->addWidget(m_activeCard);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_list, 1);
    column->addWidget(m_divider);
    column->addWidget(m_activeSection);
    m_divider->hide();
    m_activeSection->hide();
    m_list->setLiveCard(m_activeCard);
}

void LiveTranslationCaptionsView::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    m_list->render(snapshot, palette);
    const bool active = showsActiveSection(snapshot);
    m_divider->setColor(palette.border);
    m_activeCard->render(snapshot, palette);
    if (m_activeSection->isVisibleTo(this) != active) {
        m_divider->setVisible(active);
        m_activeSection->setVisible(active);
    }
    m_list->setLiveCardShown(active);
}

void LiveTranslationCaptionsView::setReduceMotion(bool reduceMotion)
{
    m_list->setReduceMotion(reduceMotion);
}

void LiveTranslationCaptionsView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int room = event->size().height() - kListRoom - m_divider->sizeHint().height()
        - 2 * kActiveSectionPadding;
    m_activeCard->setHeightLimit(std::max(room, 0));
}
