#include "list.hpp"

#include <cmath>

#include <QEasingCurve>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVariantAnimation>
#include <QWheelEvent>

#include "captions/accessible.hpp"
#include "captions/empty_state.hpp"
#include "captions/logic.hpp"
#include "common/accessibility.hpp"
#include "common/view_support.hpp"

namespace {
constexpr int kScrollDurationMs = 180;
constexpr int kSingleStep = 24;
// Layouts kept for cards out of view, so that scrolling back and forth does not redo them.
constexpr std::size_t kKeptLayouts = 96;
// Measuring cards that come into view can change what is in view; this bounds the rounds.
constexpr int kLayoutRounds = 8;
} // namespace

LiveTranslationCaptionViewport::LiveTranslationCaptionViewport(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

LiveTranslationCaptionList::LiveTranslationCaptionList(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_fonts(LiveTranslationCaptionFonts::fromApplication())
    , m_palette(LiveTranslationPalette::light())
    , m_scroll(new QVariantAnimation(this))
{
    // Installed last, so that its list is asked before the scroll areas' plain interface.
    installScrollAreaAccessibility();
    installCaptionsAccessibility();
    setViewport(new LiveTranslationCaptionViewport);
    viewport()->setMouseTracking(true);
    setObjectName(QStringLiteral("liveTranslation.captions"));
    setAccessibleName(tr("Live translation captions"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(kSingleStep);
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this,
        &LiveTranslationCaptionList::stopScrolling);
    // The scroll bar lies over the list's right padding instead of narrowing the cards, so their
    // right edges stay in line with the live card's below.
    verticalScrollBar()->parentWidget()->raise();
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
        &LiveTranslationCaptionList::overlayScrollBar);

    m_emptyState = new LiveTranslationCaptionsEmptyState(viewport());
    m_emptyState->hide();

    m_entries.setSpacing(kSpacing);
    m_entries.setEstimate(
        LiveTranslationCardEstimate::forCards(m_fonts, cardWidth(), true, maxTextHeight()));

    m_scroll->setDuration(kScrollDurationMs);
    m_scroll->setEasingCurve(QEasingCurve::OutCubic);
    m_scroll->setStartValue(0.0);
    m_scroll->setEndValue(1.0);
    connect(m_scroll, &QVariantAnimation::valueChanged, this,
        [this](const QVariant &value) { applyScrollProgress(value.toReal()); });
    connect(m_scroll, &QVariantAnimation::finished, this, [this] { applyScrollProgress(1.0); });
    applyPalette();
}

LiveTranslationCaptionList::~LiveTranslationCaptionList() = default;

QWidget *LiveTranslationCaptionList::emptyState() const
{
    return m_emptyState;
}

void LiveTranslationCaptionList::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    const bool firstRender = !m_rendered;
    m_rendered = true;
    bool repaint = false;
    if (palette != m_palette) {
        m_palette = palette;
        applyPalette();
        repaint = true;
    }

    const bool showsEmptyState = showsCaptionsEmptyState(snapshot);
    m_emptyState->render(snapshot.isSessionActive, palette);
    if (showsEmptyState != m_showsEmptyState) {
        m_showsEmptyState = showsEmptyState;
        m_emptyState->setVisible(showsEmptyState);
        repaint = true;
    }

    const std::size_t oldCount = m_entries.size();
    const auto update = m_entries.update(snapshot.committedCards);
    if (update.changed) {
        keepSelection(update);
        keepCurrentItem(update, oldCount);
        emit cardsChanged();
        repaint = true;
    }
    if (snapshot.showsSourceText != m_showsSource) {
        m_showsSource = snapshot.showsSourceText;
        relayout();
        repaint = true;
    }
    if (!repaint)
        return;

    updateScrollRange();
    placeEmptyState();
    if (update.countChanged && !firstRender && !m_entries.empty()) {
        scrollToNewestCard();
    } else {
        // Cards that change without changing in number keep the cards in view where they are.
        if (update.changed && m_scroll->state() != QAbstractAnimation::Running)
            m_atNewestCard = false;
        layoutVisibleCards();
        if (m_scroll->state() != QAbstractAnimation::Running)
            m_atNewestCard = isAtNewestCard();
    }
    viewport()->update();
}

const LiveTranslationCommittedCardLayout &LiveTranslationCaptionList::layoutFor(std::size_t index)
{
    const auto &card = m_entries.card(index);
    CachedLayout &cached = m_layouts[card.id];
    if (!cached.layout || cached.generation != m_layoutGeneration || !(cached.card == card)) {
        cached.layout = std::make_unique<LiveTranslationCommittedCardLayout>(
            card, m_showsSource, cardWidth(), maxTextHeight(), m_fonts);
        cached.card = card;
        cached.generation = m_layoutGeneration;
    }
    cached.usedInPass = m_pass;
    m_entries.setMeasuredHeight(index, cached.layout->height());
    return *cached.layout;
}

void LiveTranslationCaptionList::releaseUnusedLayouts()
{
    if (m_layouts.size() <= kKeptLayouts)
        return;
    std::erase_if(m_layouts, [this](const auto &item) { return item.second.usedInPass != m_pass; });
}

void LiveTranslationCaptionList::relayout()
{
    // Every height changes; the card at the top of the view stays at the top.
    const bool keepTop = !m_atNewestCard && m_visible.first < m_visible.second
        && m_visible.first < m_entries.size();
    const std::size_t top = m_visible.first;
    const qreal intoTop = keepTop ? verticalScrollBar()->value() - contentTop(top) : 0;
    ++m_layoutGeneration;
    m_entries.setEstimate(LiveTranslationCardEstimate::forCards(
        m_fonts, cardWidth(), m_showsSource, maxTextHeight()));
    if (!keepTop)
        return;
    const qreal height = layoutFor(top).height();
    updateScrollRange();
    const bool wasInLayout = std::exchange(m_inLayout, true);
    setScrollValue(contentTop(top) + std::min(intoTop, height));
    m_inLayout = wasInLayout;
}

void LiveTranslationCaptionList::layoutVisibleCards()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    ++m_pass;
    const qreal height = viewport()->height();
    for (int round = 0; round < kLayoutRounds; ++round) {
        const qreal value = verticalScrollBar()->value();
        const auto [first, last] = m_entries.range(value - kPadding, value - kPadding + height);
        // A card already measured stays where it is on screen while the others settle around it.
        std::size_t anchor = first;
        for (std::size_t i = first; i < last; ++i) {
            if (m_entries.isMeasured(i)) {
                anchor = i;
                break;
            }
        }
        const qreal anchorOnScreen = first < last ? contentTop(anchor) - value : 0;
        bool changed = false;
        for (std::size_t i = first; i < last; ++i) {
            const bool wasMeasured = m_entries.isMeasured(i);
            const qreal before = m_entries.height(i);
            layoutFor(i);
            changed = changed || (!wasMeasured && before != m_entries.height(i));
        }
        m_visible = {first, last};
        if (!changed)
            break;
        updateScrollRange();
        if (m_scroll->state() == QAbstractAnimation::Running)
            applyScrollProgress(m_scroll->currentValue().toReal());
        else if (m_atNewestCard)
            setScrollValue(newestCardScrollValue());
        else
            setScrollValue(contentTop(anchor) - anchorOnScreen);
    }
    releaseUnusedLayouts();
    m_inLayout = false;
}

void LiveTranslationCaptionList::updateScrollRange()
{
    const int maximum
        = std::max(0, static_cast<int>(std::ceil(contentHeight())) - viewport()->height());
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(std::max(1, viewport()->height()));
    if (bar->maximum() != maximum) {
        const bool wasInLayout = m_inLayout;
        m_inLayout = true; // a clamped value is settled by the caller
        bar->setRange(0, maximum);
        m_inLayout = wasInLayout;
    }
}

void LiveTranslationCaptionList::overlayScrollBar()
{
    const QScrollBar *bar = verticalScrollBar();
    const int overlap = bar->maximum() > bar->minimum() ? -bar->sizeHint().width() : 0;
    const QMargins margins
        = isRightToLeft() ? QMargins(overlap, 0, 0, 0) : QMargins(0, 0, overlap, 0);
    if (viewportMargins() != margins)
        setViewportMargins(margins);
}

void LiveTranslationCaptionList::placeEmptyState()
{
    if (!m_showsEmptyState)
        return;
    const int width = std::max(0, viewport()->width() - 2 * static_cast<int>(kPadding));
    m_emptyState->setGeometry(static_cast<int>(kPadding),
        static_cast<int>(kPadding) - verticalScrollBar()->value(), width,
        m_emptyState->heightForWidth(width));
}

void LiveTranslationCaptionList::applyPalette()
{
    setScrollBarLook(verticalScrollBar(), m_palette);
}

qreal LiveTranslationCaptionList::cardWidth() const
{
    return std::max<qreal>(viewport()->width() - 2 * kPadding, 1);
}

qreal LiveTranslationCaptionList::maxTextHeight() const
{
    return screenHeightFor(this);
}

qreal LiveTranslationCaptionList::contentHeight()
{
    if (m_showsEmptyState)
        return 2 * kPadding + m_emptyState->heightForWidth(static_cast<int>(cardWidth()));
    if (m_entries.empty())
        return 0;
    return 2 * kPadding + m_entries.totalHeight();
}

QRect LiveTranslationCaptionList::cardRect(std::size_t index)
{
    const qreal top = contentTop(index) - verticalScrollBar()->value();
    return QRectF(kPadding, top, cardWidth(), m_entries.height(index)).toAlignedRect();
}

void LiveTranslationCaptionList::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal value = verticalScrollBar()->value();
    const QRect dirty = event->rect();
    const auto [first, last]
        = m_entries.range(value - kPadding + dirty.top(), value - kPadding + dirty.bottom() + 1);
    for (std::size_t i = first; i < last; ++i) {
        const auto &layout = layoutFor(i);
        layout.paint(&painter, QPointF(kPadding, contentTop(i) - value), m_palette,
            m_selector.selection(), i);
    }
    paintFocusRings(painter);
}

void LiveTranslationCaptionList::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool atNewest = m_atNewestCard;
    const auto estimate = LiveTranslationCardEstimate::forCards(
        m_fonts, cardWidth(), m_showsSource, maxTextHeight());
    if (!(estimate == m_entries.estimate()))
        relayout();
    updateScrollRange();
    m_atNewestCard = atNewest;
    if (atNewest && m_scroll->state() != QAbstractAnimation::Running)
        setScrollValue(newestCardScrollValue());
    placeEmptyState();
    layoutVisibleCards();
}

void LiveTranslationCaptionList::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    // Whoever moved the list decides whether it stays with the newest card, before the cards
    // that come into view are measured.
    if (!m_inLayout && m_scroll->state() != QAbstractAnimation::Running)
        m_atNewestCard = isAtNewestCard();
    placeEmptyState();
    layoutVisibleCards();
    viewport()->update();
}

void LiveTranslationCaptionList::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange) {
        m_fonts = LiveTranslationCaptionFonts::fromApplication();
        m_layouts.clear();
        relayout();
        updateScrollRange();
        layoutVisibleCards();
        viewport()->update();
    }
}

void LiveTranslationCaptionList::wheelEvent(QWheelEvent *event)
{
    stopScrolling();
    QAbstractScrollArea::wheelEvent(event);
}

int LiveTranslationCaptionList::newestCardScrollValue()
{
    if (m_entries.empty())
        return 0;
    // The newest card's bottom is aligned to the bottom of the visible area.
    const qreal bottom = contentTop(m_entries.size() - 1) + m_entries.height(m_entries.size() - 1);
    const int value = static_cast<int>(std::ceil(bottom)) - viewport()->height();
    return std::clamp(value, 0, verticalScrollBar()->maximum());
}

bool LiveTranslationCaptionList::isAtNewestCard()
{
    return m_entries.empty() || verticalScrollBar()->value() >= newestCardScrollValue();
}

void LiveTranslationCaptionList::scrollToNewestCard()
{
    // The newest cards are laid out first, so the target is exact where it is seen.
    qreal covered = 0;
    for (std::size_t i = m_entries.size(); i-- > 0 && covered < viewport()->height();)
        covered += layoutFor(i).height() + kSpacing;
    updateScrollRange();
    m_atNewestCard = true;
    if (m_reduceMotion) {
        m_scroll->stop();
        setScrollValue(newestCardScrollValue());
        layoutVisibleCards();
        return;
    }
    m_scrollStart = verticalScrollBar()->value();
    m_scroll->stop();
    m_scroll->start();
    layoutVisibleCards();
}

void LiveTranslationCaptionList::stopScrolling()
{
    if (m_scroll->state() == QAbstractAnimation::Running) {
        m_scroll->stop();
        m_atNewestCard = isAtNewestCard();
    }
}

bool LiveTranslationCaptionList::isScrolling() const
{
    return m_scroll->state() == QAbstractAnimation::Running;
}

void LiveTranslationCaptionList::applyScrollProgress(qreal progress)
{
    // The target is read anew on each step: cards laid out on the way can move it.
    const qreal target = newestCardScrollValue();
    setScrollValue(m_scrollStart + (target - m_scrollStart) * progress);
}

void LiveTranslationCaptionList::setScrollValue(qreal value)
{
    verticalScrollBar()->setValue(static_cast<int>(std::lround(value)));
}
