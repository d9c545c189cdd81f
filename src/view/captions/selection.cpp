#include "selection.hpp"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStringList>

#include "captions/text.hpp"

std::optional<std::pair<int, int>> LiveTranslationCaptionSelection::rangeIn(
    std::size_t card, int block, int length) const
{
    if (isEmpty())
        return std::nullopt;
    const Position first = start();
    const Position last = end();
    const Position blockStart {card, block, 0};
    const Position blockEnd {card, block, length};
    if (last <= blockStart || first >= blockEnd)
        return std::nullopt;
    const int from = first > blockStart ? first.offset : 0;
    const int to = last < blockEnd ? last.offset : length;
    if (from >= to)
        return std::nullopt;
    return std::pair {from, to};
}

LiveTranslationCaptionSelector::LiveTranslationCaptionSelector(
    LiveTranslationSelectableTexts &texts)
    : m_texts(texts)
{
}

QString LiveTranslationCaptionSelector::selectedText() const
{
    if (m_selection.isEmpty())
        return {};
    const std::size_t count = m_texts.selectableCardCount();
    QStringList cards;
    for (std::size_t card = m_selection.start().card;
         card <= m_selection.end().card && card < count; ++card) {
        QStringList texts;
        for (const int block : {Position::source, Position::translation}) {
            const QString text = m_texts.selectableText(card, block);
            if (const auto range = m_selection.rangeIn(card, block, static_cast<int>(text.size())))
                texts.append(text.mid(range->first, range->second - range->first));
        }
        if (!texts.isEmpty())
            cards.append(texts.join(QLatin1Char('\n')));
    }
    return cards.join(QStringLiteral("\n\n"));
}

void LiveTranslationCaptionSelector::selectAll()
{
    const std::size_t count = m_texts.selectableCardCount();
    std::optional<Position> first;
    std::optional<Position> last;
    // The first and the last card with a selectable text bound the selection.
    for (std::size_t card = 0; card < count && !first; ++card) {
        for (const int block : {Position::source, Position::translation}) {
            if (!first && !m_texts.selectableText(card, block).isEmpty())
                first = Position {card, block, 0};
        }
    }
    for (std::size_t card = count; card > 0 && !last; --card) {
        for (const int block : {Position::translation, Position::source}) {
            const int length = static_cast<int>(m_texts.selectableText(card - 1, block).size());
            if (!last && length > 0)
                last = Position {card - 1, block, length};
        }
    }
    if (!first || !last)
        return;
    m_selection.select(*first, *last);
    m_texts.selectionChanged();
    offerPrimarySelection();
}

void LiveTranslationCaptionSelector::copy() const
{
    const QString text = selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void LiveTranslationCaptionSelector::offerPrimarySelection() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return;
    const QString text = selectedText();
    if (!text.isEmpty())
        clipboard->setText(text, QClipboard::Selection);
}

void LiveTranslationCaptionSelector::press(const QMouseEvent *event)
{
    const auto position = m_texts.selectablePositionAt(event->position());
    if (!position)
        m_selection.clear();
    else if (event->modifiers() & Qt::ShiftModifier && !m_selection.isEmpty())
        m_selection.extendTo(*position);
    else
        m_selection.select(*position, *position);
    m_selecting = position.has_value();
    m_texts.selectionChanged();
}

bool LiveTranslationCaptionSelector::move(QPointF point)
{
    if (!m_selecting)
        return false;
    if (const auto position = m_texts.selectablePositionAt(point)) {
        m_selection.extendTo(*position);
        m_texts.selectionChanged();
    }
    return true;
}

bool LiveTranslationCaptionSelector::release(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_selecting)
        return false;
    m_selecting = false;
    offerPrimarySelection();
    return true;
}

bool LiveTranslationCaptionSelector::doubleClick(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const auto position = m_texts.selectablePositionAt(event->position());
    if (!position)
        return false;
    const QString text = m_texts.selectableText(position->card, position->block);
    const auto [start, end] = captionWordAt(text, position->offset);
    m_selection.select(
        {position->card, position->block, start}, {position->card, position->block, end});
    m_selecting = false;
    m_texts.selectionChanged();
    offerPrimarySelection();
    return true;
}

bool LiveTranslationCaptionSelector::handleKey(const QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return true;
    }
    return false;
}

void LiveTranslationCaptionSelector::showContextMenu(QWidget *owner, const QContextMenuEvent *event)
{
    QMenu menu(owner);
    QAction *copyAction = menu.addAction(tr("Copy"), owner, [this] { copy(); });
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(!m_selection.isEmpty());
    QAction *all = menu.addAction(tr("Select All"), owner, [this] { selectAll(); });
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(m_texts.selectableCardCount() > 0);
    menu.exec(event->globalPos());
}
