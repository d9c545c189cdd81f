#include "active_card.hpp"

#include <cmath>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "captions/logic.hpp"
#include "common/button_styles.hpp"
#include "common/view_logic.hpp"
#include "common/view_support.hpp"

namespace {
constexpr qreal kPaddingX = 13;
constexpr qreal kPaddingY = 11;
constexpr qreal kItemSpacing = 8;
constexpr qreal kStrokeWidth = 1;
constexpr qreal kStrokeOpacity = 0.68;
constexpr qreal kWaitingOpacity = 0.68;
constexpr qreal kDotSize = 5;
constexpr qreal kDotSpacing = 6;
constexpr int kDefaultWidth = 400;
constexpr qreal kSourceShare = 1.0 / 3;
constexpr qreal kCardCornerRadius = 11;
} // namespace

struct LiveTranslationActiveCard::Layout {
    int width = -1;
    qreal headerHeight = 0;
    QString now;
    std::unique_ptr<LiveTranslationCaptionText> source;
    QPointF sourceOrigin;
    std::unique_ptr<LiveTranslationCaptionText> translation;
    QPointF translationOrigin;
    std::unique_ptr<LiveTranslationCaptionText> note;
    QPointF noteOrigin;
    qreal height = 0;
};

LiveTranslationActiveCard::LiveTranslationActiveCard(QWidget *parent)
    : QWidget(parent)
    , m_palette(LiveTranslationPalette::light())
    , m_fonts(LiveTranslationCaptionFonts::fromApplication())
{
    setObjectName(QStringLiteral("liveTranslation.activeCard"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::IBeamCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    render(LiveTranslationHelperSnapshot::initial(), m_palette);
}

LiveTranslationActiveCard::~LiveTranslationActiveCard() = default;

LiveTranslationActiveCard::Content LiveTranslationActiveCard::contentFor(
    const LiveTranslationHelperSnapshot &snapshot)
{
    const bool translated = hasActiveTranslation(snapshot);
    Content content;
    content.header = translated ? tr("LIVE TRANSLATION") : tr("LISTENING");
    content.state = translated ? tr("Live translation") : tr("Listening");
    if (snapshot.showsSourceText && hasActiveSource(snapshot)) {
        content.source = fromWire(*snapshot.activeSourceText);
        content.sourceIsText = true;
    } else if (snapshot.showsSourceText && !translated) {
        content.source = tr("The matching original phrase will appear here.");
    }
    if (translated) {
        content.translation = fromWire(*snapshot.activeTranslatedText);
        content.translationIsText = true;
    } else {
        content.translation = snapshot.showsSourceText ? tr("Waiting for the next phrase…")
                                                       : tr("Waiting for translation…");
    }
    content.note = translated ? tr("Hearing more · preparing the next matched update…")
                              : tr("The next original and translation will stay together here.");
    return content;
}

void LiveTranslationActiveCard::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    Content content = contentFor(snapshot);
    if (palette != m_palette) {
        m_palette = palette;
        update();
    }
    if (content == m_content)
        return;
    const Content before = std::exchange(m_content, std::move(content));
    keepSelection(before);
    m_layout.reset();
    updateGeometry();
    update();
}

const LiveTranslationActiveCard::Layout &LiveTranslationActiveCard::layoutFor(int width) const
{
    if (m_layout && m_layout->width == width)
        return *m_layout;
    auto layout = std::make_unique<Layout>();
    layout->width = width;
    layout->now = tr("NOW");
    const qreal textWidth = std::max<qreal>(width - 2 * kPaddingX, 1);
    layout->headerHeight = std::max(captionBadgeSize(layout->now, m_fonts.nowBadge).height(),
        std::ceil(QFontMetricsF(m_fonts.activeHeader).height()));
    qreal y = kPaddingY + layout->headerHeight + kItemSpacing;
    const qreal noteWidth = std::max<qreal>(textWidth - kDotSize - kDotSpacing, 1);
    layout->note
        = std::make_unique<LiveTranslationCaptionText>(m_content.note, m_fonts.note, noteWidth);
    // The room left for the host's texts once the fixed parts have theirs.
    qreal room = std::min(m_heightLimit, screenHeightFor(this)) - y - kItemSpacing
        - layout->note->height() - kPaddingY;
    if (!m_content.source.isEmpty() || m_content.sourceIsText) {
        layout->source = std::make_unique<LiveTranslationCaptionText>(m_content.source,
            m_content.sourceIsText ? m_fonts.source : m_fonts.sourcePlaceholder, textWidth,
            m_content.translationIsText ? room * kSourceShare : room);
        layout->sourceOrigin = QPointF(kPaddingX, y);
        y += layout->source->height() + kItemSpacing;
        room -= layout->source->height() + kItemSpacing;
    }
    layout->translation = std::make_unique<LiveTranslationCaptionText>(m_content.translation,
        m_content.translationIsText ? m_fonts.activeTranslation : m_fonts.waitingPlaceholder,
        textWidth, room);
    layout->translationOrigin = QPointF(kPaddingX, y);
    y += layout->translation->height() + kItemSpacing;
    layout->noteOrigin = QPointF(kPaddingX + kDotSize + kDotSpacing, y);
    layout->height = std::ceil(y + layout->note->height() + kPaddingY);
    m_layout = std::move(layout);
    return *m_layout;
}

void LiveTranslationActiveCard::setFocusRingShown(bool shown)
{
    if (shown == m_focusRingShown)
        return;
    m_focusRingShown = shown;
    update();
}

void LiveTranslationActiveCard::setHeightLimit(int limit)
{
    if (limit == m_heightLimit)
        return;
    m_heightLimit = limit;
    m_layout.reset();
    updateGeometry();
    update();
}

int LiveTranslationActiveCard::heightForWidth(int width) const
{
    return static_cast<int>(layoutFor(width).height);
}

QSize LiveTranslationActiveCard::sizeHint() const
{
    const int width = this->width() > 0 ? this->width() : kDefaultWidth;
    return {width, heightForWidth(width)};
}

// Never narrower than the panel lets it be; never shorter than its texts at the width it has.
QSize LiveTranslationActiveCard::minimumSizeHint() const
{
    return {0, heightForWidth(width() > 0 ? width() : kDefaultWidth)};
}

void LiveTranslationActiveCard::paintEvent(QPaintEvent * /*event*/)
{
    const Layout &layout = layoutFor(width());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintCaptionCardFrame(&painter, QRectF(0, 0, width(), layout.height), m_palette.surface,
        withOpacity(m_palette.liveAccent, kStrokeOpacity), kStrokeWidth);

    const QRectF header(kPaddingX, kPaddingY, width() - 2 * kPaddingX, layout.headerHeight);
    painter.setFont(m_fonts.activeHeader);
    painter.setPen(m_palette.liveAccent);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, m_content.header);
    const QSizeF badge = captionBadgeSize(layout.now, m_fonts.nowBadge);
    paintCaptionBadge(&painter,
        QPointF(
            header.right() - badge.width(), header.top() + (header.height() - badge.height()) / 2),
        layout.now, m_fonts.nowBadge, m_palette.tertiaryText, m_palette.mutedSurface);

    if (layout.source) {
        const QColor color
            = m_content.sourceIsText ? m_palette.secondaryText : m_palette.tertiaryText;
        layout.source->draw(&painter, layout.sourceOrigin, color,
            m_selector.selection().rangeIn(
                0, Position::source, static_cast<int>(m_content.source.size())),
            m_palette.selection);
    }
    const QColor translationColor = m_content.translationIsText
        ? m_palette.foreground
        : withOpacity(m_palette.secondaryText, kWaitingOpacity);
    layout.translation->draw(&painter, layout.translationOrigin, translationColor,
        m_selector.selection().rangeIn(
            0, Position::translation, static_cast<int>(m_content.translation.size())),
        m_palette.selection);

    const qreal firstLine = QFontMetricsF(m_fonts.note).height();
    const QRectF dot(
        kPaddingX, layout.noteOrigin.y() + (firstLine - kDotSize) / 2, kDotSize, kDotSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_palette.accent);
    painter.drawEllipse(dot);
    layout.note->draw(&painter, layout.noteOrigin, m_palette.tertiaryText);
    if (m_focusRingShown)
        buttonlook::paintFocusRing(painter, QRectF(0, 0, width(), layout.height), kCardCornerRadius,
            m_palette.focusRingOn(m_palette.surface));
}

void LiveTranslationActiveCard::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange) {
        m_fonts = LiveTranslationCaptionFonts::fromApplication();
        m_layout.reset();
        updateGeometry();
        update();
    }
}

// Selection: only the host's texts are selectable; placeholders, header and note are not.

std::optional<LiveTranslationCaptionTextPosition> LiveTranslationActiveCard::selectablePositionAt(
    QPointF point)
{
    const Layout &layout = layoutFor(width());
    const bool sourceSelectable = layout.source && m_content.sourceIsText;
    const bool translationSelectable = m_content.translationIsText;
    if (sourceSelectable
        && (!translationSelectable || point.y() < layout.translationOrigin.y() - kItemSpacing / 2))
        return Position {0, Position::source, layout.source->offsetAt(point - layout.sourceOrigin)};
    if (translationSelectable)
        return Position {0, Position::translation,
            layout.translation->offsetAt(point - layout.translationOrigin)};
    return std::nullopt;
}

QString LiveTranslationActiveCard::selectableText(std::size_t /*card*/, int block) const
{
    if (block == Position::source)
        return m_content.sourceIsText ? m_content.source : QString();
    return m_content.translationIsText ? m_content.translation : QString();
}

std::size_t LiveTranslationActiveCard::selectableCardCount() const
{
    return m_content.sourceIsText || m_content.translationIsText ? 1 : 0;
}

void LiveTranslationActiveCard::selectionChanged()
{
    update();
}

void LiveTranslationActiveCard::keepSelection(const Content &before)
{
    // The live texts grow as the host hears more: a selection stays while the text it covers
    // is still there unchanged.
    LiveTranslationCaptionSelection &selection = m_selector.selection();
    if (selection.isEmpty())
        return;
    const auto unchangedUpTo = [&](int block, int upTo) {
        const bool isText
            = block == Position::source ? m_content.sourceIsText : m_content.translationIsText;
        const QString &now = block == Position::source ? m_content.source : m_content.translation;
        const QString &was = block == Position::source ? before.source : before.translation;
        return isText && now.size() >= upTo && was.size() >= upTo
            && QStringView(now).left(upTo) == QStringView(was).left(upTo);
    };
    const Position first = selection.start();
    const Position last = selection.end();
    bool keep = true;
    for (const int block : {Position::source, Position::translation}) {
        if (block < first.block || block > last.block)
            continue;
        const QString &was = block == Position::source ? before.source : before.translation;
        keep = keep
            && unchangedUpTo(
                block, block == last.block ? last.offset : static_cast<int>(was.size()));
    }
    if (!keep)
        selection.clear();
}

QString LiveTranslationActiveCard::selectedText() const
{
    return m_selector.selectedText();
}

void LiveTranslationActiveCard::keyPressEvent(QKeyEvent *event)
{
    if (!m_selector.handleKey(event))
        QWidget::keyPressEvent(event);
}

void LiveTranslationActiveCard::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_selector.press(event);
    emit pressed();
}

void LiveTranslationActiveCard::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selector.move(event->position()))
        QWidget::mouseMoveEvent(event);
}

void LiveTranslationActiveCard::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_selector.release(event))
        QWidget::mouseReleaseEvent(event);
}

void LiveTranslationActiveCard::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!m_selector.doubleClick(event))
        QWidget::mouseDoubleClickEvent(event);
}

void LiveTranslationActiveCard::contextMenuEvent(QContextMenuEvent *event)
{
    m_selector.showContextMenu(this, event);
}
