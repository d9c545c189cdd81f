#include "popover.hpp"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "common/button_styles.hpp"
#include "window_compositing.hpp"
#include "window_hints.hpp"

namespace {

// Soft shadow: a few widening rounded outlines at falling opacity.
constexpr int kShadowSteps = 6;
constexpr qreal kShadowOpacity = 0.05;
constexpr int kShadowOffsetY = 3;

// Left out of the taskbar and the pager, like the panel it belongs to. One for all popovers: the
// hints keep nothing of a window.
LiveTranslationPanelHints &popoverHints()
{
    static LiveTranslationPanelHints hints(LiveTranslationPanelHints::Role::popover);
    return hints;
}

bool isInside(const QWidget *widget, const QWidget *container)
{
    return widget && container && (widget == container || container->isAncestorOf(widget));
}

} // namespace

LiveTranslationPopover::LiveTranslationPopover(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    // Standard controls inside take the panel's palette and font, as they would in the panel.
    setAttribute(Qt::WA_WindowPropagation);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
}

LiveTranslationPopover::~LiveTranslationPopover()
{
    watchApplication(false);
}

void LiveTranslationPopover::setContent(QWidget *content)
{
    if (m_content == content)
        return;
    delete m_content;
    m_content = content;
    if (m_content) {
        m_content->setParent(this);
        m_content->show();
    }
    if (isVisible())
        place();
}

void LiveTranslationPopover::setColors(const LiveTranslationPalette &palette)
{
    if (m_palette == palette)
        return;
    m_palette = palette;
    update();
}

void LiveTranslationPopover::present(QWidget *anchor)
{
    if (!anchor || !m_content)
        return;
    m_anchor = anchor;
    m_anchorWindow = anchor->window();

    m_shadow = translucentWindowsComposited() ? kShadowMargin : 0;
    place();
    const bool wasVisible = isVisible();
    // Opened from the keyboard, the content shows where the focus landed at once.
    const Qt::FocusReason reason
        = buttonlook::hasKeyboardFocus(anchor) ? Qt::TabFocusReason : Qt::PopupFocusReason;
    watchApplication(true);
    if (!wasVisible) {
        // The hints go on the native window before it is mapped.
        winId();
        popoverHints().apply(windowHandle());
    }
    show();
    raise();
    activateWindow();
    if (!wasVisible) {
        m_content->setFocus(reason);
        m_pendingFocus = isActiveWindow() ? std::nullopt : std::optional(reason);
    }
}

bool LiveTranslationPopover::event(QEvent *event)
{
    // The window is active when this arrives, and the focus not yet handed on.
    if (event->type() == QEvent::WindowActivate && m_pendingFocus && m_content) {
        const Qt::FocusReason reason = *m_pendingFocus;
        m_pendingFocus.reset();
        if (!isAncestorOf(QApplication::focusWidget()))
            m_content->setFocus(reason);
    }
    return QWidget::event(event);
}

void LiveTranslationPopover::dismiss()
{
    closeAndReturnFocus(true);
}

void LiveTranslationPopover::closeAndReturnFocus(bool reactivateAnchorWindow)
{
    if (!isVisible())
        return;
    m_pendingFocus.reset();
    hide(); // hideEvent stops watching
    returnFocus(reactivateAnchorWindow);
    emit dismissed();
}

void LiveTranslationPopover::returnFocus(bool reactivateAnchorWindow)
{
    if (!m_anchor || !m_anchorWindow || !m_anchorWindow->isVisible())
        return;
    // Without this the window manager gives the focus to whatever it likes (often the root window,
    // where keys go nowhere). Focus given to a widget of an inactive window waits there until the
    // window is active again; the reason lets the button show its ring as it did before.
    const auto usable = [](const QWidget *w) { return w && w->isEnabled() && w->isVisible(); };
    if (usable(m_anchor))
        m_anchor->setFocus(Qt::ActiveWindowFocusReason);
    else if (usable(m_focusFallback) && m_focusFallback->window() == m_anchorWindow)
        m_focusFallback->setFocus(Qt::ActiveWindowFocusReason);
    if (!reactivateAnchorWindow)
        return;
    m_anchorWindow->activateWindow();
    popoverHints().requestActivation(m_anchorWindow->windowHandle());
}

QPoint LiveTranslationPopover::arrowTip() const
{
    const QRect body = bodyRect();
    const int y = m_below ? body.top() - kArrowHeight : body.bottom() + 1 + kArrowHeight;
    return mapToGlobal(QPoint(body.left() + m_arrowX, y));
}

QRect LiveTranslationPopover::bodyRect() const
{
    const QSize contentSize = m_content ? m_content->size() : QSize();
    const int top = m_shadow + (m_below ? kArrowHeight : 0);
    return {m_shadow, top, contentSize.width() + 2 * kBorderWidth,
        contentSize.height() + 2 * kBorderWidth};
}

void LiveTranslationPopover::place()
{
    if (!m_anchor || !m_content)
        return;
    const QRect anchorRect(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
    QScreen *screen = m_anchor->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QSize body = m_content->size() + QSize(2 * kBorderWidth, 2 * kBorderWidth);

    // Below the button when it fits on the screen, above it when only that fits.
    const int belowTop = anchorRect.bottom() + 1 + kAnchorGap + kArrowHeight;
    const int aboveTop = anchorRect.top() - kAnchorGap - kArrowHeight - body.height();
    m_below = available.isEmpty() || belowTop + body.height() <= available.bottom() + 1
        || aboveTop < available.top();
    const int bodyTop = m_below ? belowTop : aboveTop;

    const int anchorCentre = anchorRect.center().x();
    int bodyLeft = anchorCentre - body.width() / 2;
    if (!available.isEmpty()) {
        const int minLeft = available.left() + kScreenMargin;
        const int maxLeft = available.right() + 1 - kScreenMargin - body.width();
        bodyLeft = std::max(minLeft, std::min(bodyLeft, maxLeft));
    }
    const int arrowMin = kCornerRadius + kArrowWidth / 2;
    const int arrowMax = std::max(arrowMin, body.width() - kCornerRadius - kArrowWidth / 2);
    m_arrowX = std::clamp(anchorCentre - bodyLeft, arrowMin, arrowMax);

    const QSize windowSize(
        body.width() + 2 * m_shadow, body.height() + kArrowHeight + 2 * m_shadow);
    const int windowTop = bodyTop - m_shadow - (m_below ? kArrowHeight : 0);
    setFixedSize(windowSize);
    move(bodyLeft - m_shadow, windowTop);

    const QRect inner = bodyRect();
    m_content->move(inner.left() + kBorderWidth, inner.top() + kBorderWidth);
    if (m_shadow == 0)
        setMask(QRegion(outline().toFillPolygon().toPolygon()));
    else
        clearMask();
    update();
}

QPainterPath LiveTranslationPopover::outline() const
{
    const QRectF body = QRectF(bodyRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(body, kCornerRadius, kCornerRadius);
    const qreal tipX = body.left() + m_arrowX;
    const qreal half = kArrowWidth / 2.0;
    QPainterPath arrow;
    if (m_below) {
        // The base goes a pixel into the body so that the union leaves no seam.
        arrow.moveTo(tipX - half, body.top() + 1);
        arrow.lineTo(tipX, body.top() - kArrowHeight);
        arrow.lineTo(tipX + half, body.top() + 1);
    } else {
        arrow.moveTo(tipX - half, body.bottom() - 1);
        arrow.lineTo(tipX, body.bottom() + kArrowHeight);
        arrow.lineTo(tipX + half, body.bottom() - 1);
    }
    arrow.closeSubpath();
    return path.united(arrow).simplified();
}

void LiveTranslationPopover::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = outline();
    if (m_shadow > 0) {
        painter.setBrush(Qt::NoBrush);
        for (int step = 1; step <= kShadowSteps; ++step) {
            const qreal spread = step * (m_shadow / qreal(kShadowSteps + 1));
            QColor shade(Qt::black);
            shade.setAlphaF(float(kShadowOpacity * (kShadowSteps + 1 - step) / kShadowSteps));
            painter.setPen(QPen(shade, spread * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPath(path.translated(0, kShadowOffsetY));
        }
    } else {
        // Masked: what lies outside the outline is cut away, so fill it all to avoid dark fringes.
        painter.fillRect(rect(), m_palette.surface);
    }
    painter.setPen(QPen(m_palette.border, kBorderWidth));
    painter.setBrush(m_palette.surface);
    painter.drawPath(path);
}

void LiveTranslationPopover::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        dismiss();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void LiveTranslationPopover::closeEvent(QCloseEvent *event)
{
    // Closed by the window manager or the system: the same as a dismissal, never destroyed.
    event->ignore();
    dismiss();
}

void LiveTranslationPopover::hideEvent(QHideEvent *event)
{
    watchApplication(false);
    QWidget::hideEvent(event);
}

void LiveTranslationPopover::watchApplication(bool watch)
{
    if (watch == m_watching)
        return;
    m_watching = watch;
    if (watch) {
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &LiveTranslationPopover::onApplicationStateChanged);
    } else {
        qApp->removeEventFilter(this);
        disconnect(qApp, &QGuiApplication::applicationStateChanged, this,
            &LiveTranslationPopover::onApplicationStateChanged);
    }
}

void LiveTranslationPopover::onApplicationStateChanged(Qt::ApplicationState state)
{
    // Another application took the focus: the user clicked somewhere outside.
    if (state != Qt::ApplicationActive)
        closeAndReturnFocus(false);
}

bool LiveTranslationPopover::isOutsidePress(QObject *watched) const
{
    const auto *widget = qobject_cast<const QWidget *>(watched);
    if (!widget)
        return false; // the press reaches the window first, then the widget: judge it there
    // A menu or list popped up from inside (the search field's context menu) handles its own
    // presses; a press outside such a popup only closes the popup.
    if (widget->window()->windowType() == Qt::Popup)
        return false;
    // The button flips the popover itself; a press on it must not close it first.
    return !isInside(widget, this) && !isInside(widget, m_anchor);
}

bool LiveTranslationPopover::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::TabletPress:
    case QEvent::TouchBegin:
        if (isVisible() && isOutsidePress(watched))
            dismiss();
        break;
    case QEvent::Hide:
        if (watched == m_anchorWindow || watched == m_anchor)
            closeAndReturnFocus(false);
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (watched == m_anchorWindow && isVisible())
            place();
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}
