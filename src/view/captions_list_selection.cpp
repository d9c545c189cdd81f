// Text selection in the caption list: the mouse selects across the cards' texts, the keyboard's
// copy shortcut and the context menu copy it as plain text.

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "captions_list.hpp"
#include "captions_logic.hpp"
#include "view_logic.hpp"

namespace {
// Dragging past the top or bottom edge scrolls by this much per mouse move.
constexpr int kDragScrollStep = 16;

int utf16Length(const std::string &utf8)
{
    return static_cast<int>(fromWire(utf8).size());
}
} // namespace

void LiveTranslationCaptionList::keepSelection(const LiveTranslationCaptionEntries::Update &update)
{
    if (m_selection.isEmpty())
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
    const auto anchor = follow(m_selection.anchor());
    const auto focus = follow(m_selection.focus());
    if (anchor && focus)
        m_selection.select(*anchor, *focus);
    else
        m_selection.clear();
}

std::optional<LiveTranslationCaptionTextPosition> LiveTranslationCaptionList::positionAt(
    QPoint viewportPoint)
{
    if (m_entries.empty())
        return std::nullopt;
    const qreal y = verticalScrollBar()->value() + viewportPoint.y() - kPadding;
    const std::size_t index = m_entries.indexAt(y);
    const auto &layout = layoutFor(index);
    return layout.positionAt(
        QPointF(viewportPoint.x() - kPadding, y - m_entries.top(index)), index);
}

QString LiveTranslationCaptionList::selectedText() const
{
    if (m_selection.isEmpty())
        return {};
    const Position first = m_selection.start();
    const Position last = m_selection.end();
    QStringList cards;
    for (std::size_t i = first.card; i <= last.card && i < m_entries.size(); ++i) {
        const auto &card = m_entries.card(i);
        QStringList texts;
        for (const int block : {Position::source, Position::translation}) {
            if (block == Position::source && !m_showsSource)
                continue;
            const QString text
                = fromWire(block == Position::source ? card.sourceText : card.translatedText);
            if (const auto range = m_selection.rangeIn(i, block, static_cast<int>(text.size())))
                texts.append(text.mid(range->first, range->second - range->first));
        }
        if (!texts.isEmpty())
            cards.append(texts.join(QLatin1Char('\n')));
    }
    return cards.join(QStringLiteral("\n\n"));
}

void LiveTranslationCaptionList::selectAll()
{
    if (m_entries.empty())
        return;
    const std::size_t last = m_entries.size() - 1;
    m_selection.select({0, m_showsSource ? Position::source : Position::translation, 0},
        {last, Position::translation, utf16Length(m_entries.card(last).translatedText)});
    viewport()->update();
    updateSelectionClipboard();
}

void LiveTranslationCaptionList::copySelection() const
{
    const QString text = selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void LiveTranslationCaptionList::updateSelectionClipboard() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString text = selectedText();
    if (clipboard->supportsSelection() && !text.isEmpty())
        clipboard->setText(text, QClipboard::Selection);
}

void LiveTranslationCaptionList::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy) {
        copySelection();
        event->accept();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        event->accept();
        return;
    }
    stopScrolling();
    QAbstractScrollArea::keyPressEvent(event);
}

void LiveTranslationCaptionList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const auto position = positionAt(event->position().toPoint());
    if (!position) {
        m_selection.clear();
    } else if (event->modifiers() & Qt::ShiftModifier && !m_selection.isEmpty()) {
        m_selection.extendTo(*position);
    } else {
        m_selection.select(*position, *position);
    }
    m_selecting = position.has_value();
    viewport()->update();
    event->accept();
}

void LiveTranslationCaptionList::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (!m_selecting) {
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
    if (const auto position = positionAt(point)) {
        m_selection.extendTo(*position);
        viewport()->update();
    }
    event->accept();
}

void LiveTranslationCaptionList::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_selecting) {
        m_selecting = false;
        updateSelectionClipboard();
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void LiveTranslationCaptionList::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const auto position = positionAt(event->position().toPoint());
    if (!position)
        return;
    const auto &card = m_entries.card(position->card);
    const QString text
        = fromWire(position->block == Position::source ? card.sourceText : card.translatedText);
    const auto [start, end] = captionWordAt(text, position->offset);
    m_selection.select(
        {position->card, position->block, start}, {position->card, position->block, end});
    m_selecting = false;
    viewport()->update();
    updateSelectionClipboard();
    event->accept();
}

void LiveTranslationCaptionList::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *copy = menu.addAction(tr("Copy"), this, &LiveTranslationCaptionList::copySelection);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!m_selection.isEmpty());
    QAction *all = menu.addAction(tr("Select All"), this, &LiveTranslationCaptionList::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(!m_entries.empty());
    menu.exec(event->globalPos());
}
