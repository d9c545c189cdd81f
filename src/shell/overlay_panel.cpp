#include "overlay_panel.hpp"

#include <utility>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "window_hints.hpp"

LiveTranslationOverlayPanel::LiveTranslationOverlayPanel(QWidget *parent)
    : QWidget(parent, kWindowFlags)
    , m_layout(new QVBoxLayout(this))
    , m_hints(std::make_unique<LiveTranslationPanelHints>())
{
    setObjectName(QStringLiteral("liveTranslation.panel"));
    setWindowTitle(tr("Live Translate"));
    // Shown without taking the focus from the application the user works in; it still accepts
    // keyboard focus when clicked (the language search field).
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    setMinimumSize(kMinimumContentSize);
    setMaximumSize(kMaximumContentSize);
    resize(kContentSize);
}

LiveTranslationOverlayPanel::~LiveTranslationOverlayPanel() = default;

void LiveTranslationOverlayPanel::setContentWidget(QWidget *content)
{
    if (content == m_content)
        return;
    delete m_content;
    m_content = content;
    if (m_content) {
        m_content->setParent(this);
        m_layout->addWidget(m_content);
    }
    // Installing the content must not change the panel's size.
    resize(kContentSize);
}

void LiveTranslationOverlayPanel::orderFrontRegardless()
{
    // Minimized by the user or the window manager: back to a normal window, which maps it again
    // if it is still visible, and has it mapped as a normal window if it is hidden.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!isVisible()) {
        // The native window must exist (unmapped) to carry the hints before it is mapped.
        winId();
        if (m_hiddenFrameOrigin) {
            // The window itself goes where that frame held it, a position without the frame:
            // window managers keep such a window in place and draw the frame around it. (Given
            // the frame's position instead, some take it for the window's: the panel would climb
            // by a title bar at every showing.)
            const QPoint inside(m_hiddenFrameMargins.left(), m_hiddenFrameMargins.top());
            setGeometry(QRect(*m_hiddenFrameOrigin + inside, size()));
            m_restoringHiddenFrame = true;
        }
        m_hints->apply(windowHandle());
        show();
    }
    raise();
}

void LiveTranslationOverlayPanel::activateForKeyboard()
{
    raise();
    activateWindow();
    m_hints->requestActivation(windowHandle());
    // The first control in Tab order that can take the focus now.
    for (QWidget *next = nextInFocusChain(); next && next != this;
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(this)
            && isAncestorOf(next)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void LiveTranslationOverlayPanel::orderOut()
{
    if (isVisible() && isFramed()) {
        m_hiddenFrameOrigin = frameGeometry().topLeft();
        m_hiddenFrameMargins = windowHandle()->frameMargins();
    }
    hide();
}

bool LiveTranslationOverlayPanel::isShown() const
{
    return isVisible() && !isMinimized();
}

QRect LiveTranslationOverlayPanel::panelFrame() const
{
    if (!isVisible() && m_hiddenFrameOrigin)
        return {*m_hiddenFrameOrigin, size().grownBy(m_hiddenFrameMargins)};
    return frameGeometry();
}

void LiveTranslationOverlayPanel::movePanelFrame(const QPoint &origin)
{
    // A hidden panel that had a frame is put there when it is shown.
    if (!isVisible() && m_hiddenFrameOrigin) {
        m_hiddenFrameOrigin = origin;
        return;
    }
    // For a window, move() places the frame's top-left corner.
    move(origin);
}

bool LiveTranslationOverlayPanel::isFramed() const
{
    const QWindow *window = windowHandle();
    return window && !window->frameMargins().isNull();
}

void LiveTranslationOverlayPanel::centre()
{
    const QScreen *target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!target)
        return;
    QRect frame = panelFrame();
    frame.moveCenter(target->availableGeometry().center());
    movePanelFrame(frame.topLeft());
}

void LiveTranslationOverlayPanel::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}

void LiveTranslationOverlayPanel::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    emit frameChanged();
}

void LiveTranslationOverlayPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit frameChanged();
}

bool LiveTranslationOverlayPanel::nativeEvent(
    const QByteArray &eventType, void *message, qintptr *result)
{
    // The platform reads the window's place and frame anew once it has handled this event, so
    // what follows from the news is queued.
    switch (m_hints->handleNativeEvent(windowHandle(), eventType, message)) {
    case LiveTranslationPanelHints::News::none: break;
    case LiveTranslationPanelHints::News::mapped:
        QMetaObject::invokeMethod(
            this, &LiveTranslationOverlayPanel::restoreHiddenFrame, Qt::QueuedConnection);
        break;
    case LiveTranslationPanelHints::News::frameChanged:
        // The window manager's title bar and borders can arrive after the window last moved.
        QMetaObject::invokeMethod(
            this, &LiveTranslationOverlayPanel::frameChanged, Qt::QueuedConnection);
        break;
    }
    return QWidget::nativeEvent(eventType, message, result);
}

void LiveTranslationOverlayPanel::restoreHiddenFrame()
{
    if (!std::exchange(m_restoringHiddenFrame, false) || !m_hiddenFrameOrigin || !isVisible())
        return;
    // A window manager still withdrawing the window when it was shown again puts it back where
    // it takes the frame to be; once mapped, the frame goes where it was hidden.
    if (isFramed() && frameGeometry().topLeft() != *m_hiddenFrameOrigin)
        move(*m_hiddenFrameOrigin);
}
