#include "lazy_list.hpp"

#include <algorithm>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "common/accessibility.hpp"
#include "common/view_support.hpp"
#include "pickers/lazy_list_accessible.hpp"

namespace {

// How far beyond the visible part entries are built, as a share of the visible height, so that
// slow scrolling never shows an entry being made.
constexpr int kBuildAheadDivisor = 2;
constexpr int kMinBuildAhead = 60;
constexpr std::size_t kMaxSpareEntries = 16;

bool takesTabFocus(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled();
}

} // namespace

LiveTranslationLazyList::LiveTranslationLazyList(MakeEntry make, BindEntry bind, QWidget *parent)
    : QScrollArea(parent)
    , m_make(std::move(make))
    , m_bind(std::move(bind))
    , m_canvas(new QWidget)
{
    installScrollAreaAccessibility();
    installLazyListAccessibility();
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setAutoFillBackground(false);
    setWidget(m_canvas);
    // The list is drawn on its popover's surface; setWidget turns filling on.
    m_canvas->setAutoFillBackground(false);
    viewport()->installEventFilter(this);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
        &LiveTranslationLazyList::buildVisible);
}

void LiveTranslationLazyList::setColors(const LiveTranslationPalette &palette)
{
    setScrollBarLook(verticalScrollBar(), palette);
}

void LiveTranslationLazyList::setEntries(std::vector<int> heights)
{
    const int newCount = int(heights.size());
    // A focused entry whose index goes away: park the focus on the list itself while the entry
    // is released (hiding a focused widget would send the focus somewhere of the toolkit's
    // choosing), then hand it to the nearest entry that stays.
    const bool focusLost = focusedIndex() >= newCount;
    if (focusLost) {
        m_parkingFocus = true;
        setFocus(Qt::OtherFocusReason);
        m_parkingFocus = false;
    }
    for (const int index : std::vector<int>(m_live)) {
        if (index >= newCount)
            releaseEntry(index);
    }
    m_heights = std::move(heights);
    m_built.resize(m_heights.size(), nullptr);
    m_tops.resize(m_heights.size());
    int top = 0;
    for (std::size_t i = 0; i < m_heights.size(); ++i) {
        m_tops[i] = top;
        top += m_heights[i] + m_spacing;
    }
    setFocusPolicy(newCount > 0 ? Qt::TabFocus : Qt::NoFocus);
    rebindAll();
    layoutEntries();
    if (focusLost && newCount > 0)
        focusEntry(newCount - 1, Qt::OtherFocusReason);
    else if (focusLost && !leaveList(false))
        clearFocus();
}

void LiveTranslationLazyList::rebindAll()
{
    for (const int index : std::vector<int>(m_live))
        m_bind(m_built[std::size_t(index)], index);
}

QWidget *LiveTranslationLazyList::entryAt(int index) const
{
    return index >= 0 && index < count() ? m_built[std::size_t(index)] : nullptr;
}

int LiveTranslationLazyList::builtCount() const
{
    return int(m_live.size());
}

int LiveTranslationLazyList::indexOf(const QWidget *widget) const
{
    // The entry is the child of the canvas that holds the widget.
    while (widget && widget->parentWidget() != m_canvas)
        widget = widget->parentWidget();
    if (!widget)
        return -1;
    for (const int index : m_live) {
        if (m_built[std::size_t(index)] == widget)
            return index;
    }
    return -1;
}

void LiveTranslationLazyList::scrollToEntry(int index, ScrollHint hint)
{
    if (index < 0 || index >= count())
        return;
    QScrollBar *bar = verticalScrollBar();
    const int top = entryTop(index);
    const int height = m_heights[std::size_t(index)];
    const int visible = viewport()->height();
    const bool shown = top >= bar->value() && top + height <= bar->value() + visible;
    if (shown)
        return;
    if (hint == ScrollHint::centre)
        bar->setValue(top + height / 2 - visible / 2);
    else if (top < bar->value())
        bar->setValue(top);
    else
        bar->setValue(top + height - visible);
    buildVisible();
}

void LiveTranslationLazyList::focusEntry(int index, Qt::FocusReason reason)
{
    if (index < 0 || index >= count())
        return;
    scrollToEntry(index);
    QWidget *entry = m_built[std::size_t(index)];
    if (!entry)
        entry = buildEntry(index);
    entry->setFocus(reason);
}

void LiveTranslationLazyList::layoutEntries()
{
    const int total = m_heights.empty() ? 0 : m_tops.back() + m_heights.back() + m_endPadding;
    m_canvas->resize(viewport()->width(), total);
    const int width = std::max(0, viewport()->width() - 2 * m_padding);
    for (const int index : m_live) {
        m_built[std::size_t(index)]->setGeometry(
            m_padding, entryTop(index), width, m_heights[std::size_t(index)]);
    }
    buildVisible();
}

void LiveTranslationLazyList::buildVisible()
{
    if (m_heights.empty())
        return;
    const int visible = viewport()->height();
    const int ahead = std::max(kMinBuildAhead, visible / kBuildAheadDivisor);
    const int from = verticalScrollBar()->value() - ahead;
    const int to = verticalScrollBar()->value() + visible + ahead;
    // The first entry that ends below `from`, and the first that starts at or below `to`.
    auto firstIt = std::upper_bound(m_tops.cbegin(), m_tops.cend(), from);
    const int first = std::max(0, int(firstIt - m_tops.cbegin()) - 1);
    const int last = int(std::lower_bound(m_tops.cbegin(), m_tops.cend(), to) - m_tops.cbegin());

    // Only the entries built and the ones wanted are looked at, never the whole list.
    const int focused = focusedIndex();
    for (const int index : std::vector<int>(m_live)) {
        if ((index < first || index >= last) && index != focused)
            releaseEntry(index);
    }
    for (int index = first; index < last; ++index) {
        if (!m_built[std::size_t(index)])
            buildEntry(index);
    }
}

QWidget *LiveTranslationLazyList::buildEntry(int index)
{
    QWidget *entry = nullptr;
    if (!m_spare.empty()) {
        entry = m_spare.back();
        m_spare.pop_back();
    } else {
        entry = m_make(m_canvas);
        entry->setParent(m_canvas);
    }
    m_built[std::size_t(index)] = entry;
    m_live.push_back(index);
    m_bind(entry, index);
    entry->setGeometry(m_padding, entryTop(index), std::max(0, viewport()->width() - 2 * m_padding),
        m_heights[std::size_t(index)]);
    entry->show();
    return entry;
}

void LiveTranslationLazyList::releaseEntry(int index)
{
    QWidget *entry = m_built[std::size_t(index)];
    if (!entry)
        return;
    m_built[std::size_t(index)] = nullptr;
    m_live.erase(std::find(m_live.begin(), m_live.end(), index));
    entry->hide();
    m_bind(entry, -1);
    if (m_spare.size() < kMaxSpareEntries)
        m_spare.push_back(entry);
    else
        entry->deleteLater(); // it may be the sender of the signal being handled
}

int LiveTranslationLazyList::focusedIndex() const
{
    return indexOf(QApplication::focusWidget());
}

bool LiveTranslationLazyList::moveFocus(int from, bool next, Qt::FocusReason reason)
{
    const int to = from + (next ? 1 : -1);
    if (to < 0 || to >= count())
        return false;
    focusEntry(to, reason);
    return true;
}

bool LiveTranslationLazyList::leaveList(bool next)
{
    for (QWidget *w = next ? nextInFocusChain() : previousInFocusChain(); w && w != this;
         w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (isAncestorOf(w) || w->window() != window() || !takesTabFocus(w))
            continue;
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool LiveTranslationLazyList::focusNextPrevChild(bool next)
{
    if (focusedIndex() < 0)
        return QScrollArea::focusNextPrevChild(next);
    // The list is one Tab stop: Tab leaves it from whichever entry has the focus.
    return leaveList(next);
}

void LiveTranslationLazyList::focusInEvent(QFocusEvent *event)
{
    QScrollArea::focusInEvent(event);
    if (count() == 0 || m_parkingFocus)
        return;
    // From either side, the focus lands where the user left the choice: on the chosen entry.
    focusEntry(m_preferred >= 0 && m_preferred < count() ? m_preferred : 0, event->reason());
    // The toolkit tells assistive technology about the list's focus only after this handler
    // has moved the focus on, so a screen reader would read the list and never the entry: tell
    // it again about the entry once that is done.
    if (QAccessible::isActive()) {
        QMetaObject::invokeMethod(
            this,
            [entry = QPointer<QWidget>(QApplication::focusWidget())] {
                if (entry && entry->hasFocus()) {
                    QAccessibleEvent focus(entry, QAccessible::Focus);
                    QAccessible::updateAccessibility(&focus);
                }
            },
            Qt::QueuedConnection);
    }
}

void LiveTranslationLazyList::keyPressEvent(QKeyEvent *event)
{
    const int focused = focusedIndex();
    const bool plain
        = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (focused >= 0 && plain) {
        switch (event->key()) {
        case Qt::Key_Up: moveFocus(focused, false, Qt::OtherFocusReason); return;
        case Qt::Key_Down: moveFocus(focused, true, Qt::OtherFocusReason); return;
        case Qt::Key_Home: focusEntry(0, Qt::OtherFocusReason); return;
        case Qt::Key_End: focusEntry(count() - 1, Qt::OtherFocusReason); return;
        case Qt::Key_PageUp: focusEntry(pageFrom(focused, false), Qt::OtherFocusReason); return;
        case Qt::Key_PageDown: focusEntry(pageFrom(focused, true), Qt::OtherFocusReason); return;
        default: break;
        }
    }
    if (focused >= 0 && forwardTyping(event))
        return;
    QScrollArea::keyPressEvent(event);
}

int LiveTranslationLazyList::pageFrom(int index, bool down) const
{
    // The entry a visible height away (one that starts within it), and at least the next one.
    const int height = viewport()->height();
    const int y = entryTop(index) + (down ? height : -height);
    const auto first = m_tops.cbegin();
    const int at = down ? int(std::upper_bound(first, m_tops.cend(), y) - first) - 1
                        : int(std::lower_bound(first, m_tops.cend(), y) - first);
    const int step = down ? std::max(at, index + 1) : std::min(at, index - 1);
    return std::clamp(step, 0, count() - 1);
}

bool LiveTranslationLazyList::forwardTyping(QKeyEvent *event)
{
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!m_typingTarget || !m_typingTarget->isEnabled() || (event->modifiers() & commands)
        || event->text().isEmpty() || !event->text().front().isPrint())
        return false;
    m_typingTarget->setFocus(Qt::OtherFocusReason);
    QCoreApplication::sendEvent(m_typingTarget, event);
    return true;
}

bool LiveTranslationLazyList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == viewport() && event->type() == QEvent::Resize)
        layoutEntries();
    return QScrollArea::eventFilter(watched, event);
}
