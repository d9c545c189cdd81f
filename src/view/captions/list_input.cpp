// The caption list's texts as the selector sees them, and the list by keyboard: a current item
// moved by the arrow, page and Home/End keys, ringed while the list has keyboard focus.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "captions/active_card.hpp"
#include "captions/list.hpp"
#include "captions/logic.hpp"
#include "common/view_logic.hpp"

namespace {
// Dragging past the top or bottom edge scrolls by this much per mouse move.
constexpr int kDragScrollStep = 16;
// The current card's ring lies inside its outline, as the live card's does.
constexpr qreal kCardCornerRadius = 11;
constexpr qreal kListRingRadius = 6;
} // namespace

void LiveTranslationCaptionList::keepSelection(const LiveTranslationCaptionEntries::Update &update)
{
    LiveTranslationCaptionSelection &selection = m_selector.selection();
    if (selection.isEmpty())
        return;
    const auto follow = [&update](Position position) -> std::optional<Position> {
        if (update.moved.empty()) {
            if (position.card >= update.firstChanged)
                return std::nullopt;
            return position;
        }
        if (position.card >= update.moved.size() || !update.moved[position.card])
            return std::nullopt;
        position.card = *update.moved[position.card];
        return position;
    };
    const auto anchor = follow(selection.anchor());
    const auto focus = follow(selection.focus());
    if (anchor && focus)
        selection.select(*anchor, *focus);
    else
        selection.clear();
}

std::optional<LiveTranslationCaptionTextPosition> LiveTranslationCaptionList::selectablePositionAt(
    QPointF viewportPoint)
{
    if (m_entries.empty())
        return std::nullopt;
    const qreal y = verticalScrollBar()->value() + viewportPoint.y() - kPadding;
    const std::size_t index = m_entries.indexAt(y);
    const auto &layout = layoutFor(index);
    return layout.positionAt(
        QPointF(viewportPoint.x() - kPadding, y - m_entries.top(index)), index);
}

QString LiveTranslationCaptionList::selectableText(std::size_t card, int block) const
{
    if (card >= m_entries.size() || (block == Position::source && !m_showsSource))
        return {};
    const auto &entry = m_entries.card(card);
    return fromWire(block == Position::source ? entry.sourceText : entry.translatedText);
}

std::size_t LiveTranslationCaptionList::selectableCardCount() const
{
    return m_entries.size();
}

void LiveTranslationCaptionList::selectionChanged()
{
    viewport()->update();
}

void LiveTranslationCaptionList::keyPressEvent(QKeyEvent *event)
{
    // The live card holds the focus through the list: its shortcuts while it is current.
    const bool toLiveCard = m_liveCard && m_liveCardShown && m_current == cardCount();
    if (toLiveCard && (event == QKeySequence::Copy || event == QKeySequence::SelectAll)) {
        QCoreApplication::sendEvent(m_liveCard, event);
        event->accept();
        return;
    }
    if (m_selector.handleKey(event) || moveCurrentItem(event)) {
        event->accept();
        return;
    }
    stopScrolling();
    QAbstractScrollArea::keyPressEvent(event);
}

bool LiveTranslationCaptionList::moveCurrentItem(const QKeyEvent *event)
{
    const std::size_t count = itemCount();
    if (count == 0 || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const std::size_t last = count - 1;
    // Without a current item, the keys start from the cards in view.
    const auto [firstInView, endInView] = m_visible;
    const bool inView = firstInView < endInView && endInView <= cardCount();
    const std::size_t page = inView ? std::max<std::size_t>(1, endInView - firstInView - 1) : 1;
    std::size_t next = 0;
    switch (event->key()) {
    case Qt::Key_Down:
        next = m_current ? std::min(*m_current + 1, last) : (inView ? firstInView : 0);
        break;
    case Qt::Key_Up:
        next = m_current ? (*m_current > 0 ? *m_current - 1 : 0) : (inView ? endInView - 1 : last);
        break;
    case Qt::Key_PageDown: next = m_current ? std::min(*m_current + page, last) : last; break;
    case Qt::Key_PageUp: next = m_current && *m_current > page ? *m_current - page : 0; break;
    case Qt::Key_Home: next = 0; break;
    case Qt::Key_End: next = last; break;
    default: return false;
    }
    stopScrolling();
    setCurrentItem(next);
    return true;
}

void LiveTranslationCaptionList::setCurrentItem(std::size_t item)
{
    if (item >= itemCount())
        return;
    m_current = item;
    if (item < cardCount())
        scrollCardIntoView(item);
    showCurrentItem();
    if (hasFocus())
        emit currentItemChanged(item);
}

void LiveTranslationCaptionList::keepCurrentItem(
    const LiveTranslationCaptionEntries::Update &update, std::size_t oldCount)
{
    if (!m_current)
        return;
    // The live card stays current as cards arrive; a card follows its place in the list.
    if (*m_current >= oldCount)
        m_current = cardCount();
    else if (!update.moved.empty() && *m_current < update.moved.size() && update.moved[*m_current])
        m_current = *update.moved[*m_current];
    if (itemCount() == 0)
        m_current.reset();
    else if (*m_current >= itemCount())
        m_current = itemCount() - 1;
    showCurrentItem();
}

void LiveTranslationCaptionList::setLiveCard(LiveTranslationActiveCard *card)
{
    m_liveCard = card;
    connect(card, &LiveTranslationActiveCard::pressed, this, [this] {
        if (m_liveCardShown)
            makeCurrentByMouse(cardCount());
    });
}

void LiveTranslationCaptionList::makeCurrentByMouse(std::size_t item)
{
    // Where the user clicked, without scrolling under the pointer; the focus first, so that
    // assistive technology hears the list and then the item.
    const bool hadFocus = hasFocus();
    setFocus(Qt::MouseFocusReason);
    if (item >= itemCount())
        return;
    const bool moved = m_current != item;
    m_current = item;
    showCurrentItem();
    if ((moved || !hadFocus) && hasFocus())
        emit currentItemChanged(item);
}

LiveTranslationActiveCard *LiveTranslationCaptionList::liveCard() const
{
    return m_liveCard.data();
}

void LiveTranslationCaptionList::setLiveCardShown(bool shown)
{
    if (shown == m_liveCardShown)
        return;
    m_liveCardShown = shown;
    if (m_current && *m_current >= itemCount()) {
        if (itemCount() == 0)
            m_current.reset();
        else
            m_current = itemCount() - 1;
    }
    showCurrentItem();
}

void LiveTranslationCaptionList::scrollCardIntoView(std::size_t index)
{
    // Measured first, so that the card's place is exact; twice, since cards measured on the way
    // can move it.
    for (int round = 0; round < 2; ++round) {
        layoutFor(index);
        updateScrollRange();
        const qreal top = contentTop(index);
        const qreal bottom = top + m_entries.height(index);
        const qreal value = verticalScrollBar()->value();
        const qreal height = viewport()->height();
        if (top - kPadding < value || bottom - top > height)
            setScrollValue(top - kPadding);
        else if (bottom > value + height)
            setScrollValue(bottom - height);
    }
}

void LiveTranslationCaptionList::showCurrentItem()
{
    if (m_liveCard)
        m_liveCard->setFocusRingShown(showsFocusRing() && m_current == cardCount());
    viewport()->update();
}

void LiveTranslationCaptionList::focusInEvent(QFocusEvent *event)
{
    m_focusRing.focusIn(event->reason());
    QAbstractScrollArea::focusInEvent(event);
    showCurrentItem();
}

void LiveTranslationCaptionList::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    showCurrentItem();
}

void LiveTranslationCaptionList::paintFocusRings(QPainter &painter)
{
    if (!showsFocusRing())
        return;
    buttonlook::paintFocusRing(painter, QRectF(viewport()->rect()), kListRingRadius,
        m_palette.focusRingOn(m_palette.background));
    if (m_current && *m_current < cardCount()) {
        buttonlook::paintFocusRing(painter, QRectF(cardRect(*m_current)), kCardCornerRadius,
            m_palette.focusRingOn(m_palette.surface));
    }
}

void LiveTranslationCaptionList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const std::size_t under = m_entries.empty()
        ? 0
        : m_entries.indexAt(verticalScrollBar()->value() + point.y() - kPadding);
    if (!m_entries.empty() && cardRect(under).contains(point))
        makeCurrentByMouse(under);
    else
        setFocus(Qt::MouseFocusReason);
    m_selector.press(event);
    event->accept();
}

void LiveTranslationCaptionList::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (!m_selector.isSelecting()) {
        const bool overCard = !m_entries.empty()
            && cardRect(m_entries.indexAt(verticalScrollBar()->value() + point.y() - kPadding))
                   .contains(point);
        viewport()->setCursor(overCard ? Qt::IBeamCursor : Qt::ArrowCursor);
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    if (point.y() < 0 || point.y() >= viewport()->height()) {
        stopScrolling();
        QScrollBar *bar = verticalScrollBar();
        bar->setValue(bar->value() + (point.y() < 0 ? -kDragScrollStep : kDragScrollStep));
    }
    m_selector.move(point);
    event->accept();
}

void LiveTranslationCaptionList::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_selector.release(event))
        event->accept();
    else
        QAbstractScrollArea::mouseReleaseEvent(event);
}

void LiveTranslationCaptionList::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_selector.doubleClick(event))
        event->accept();
    else if (event->button() != Qt::LeftButton)
        QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void LiveTranslationCaptionList::contextMenuEvent(QContextMenuEvent *event)
{
    m_selector.showContextMenu(this, event);
}
