#pragma once

#include <optional>

#include <QPointer>
#include <QWidget>

#include "common/palette.hpp"

// A small window that hangs under a button with an arrow pointing at it, like a popover: a
// frameless tool window (not a popup, so that assistive technology reaches its content). It takes
// keyboard focus when it opens. A mouse press anywhere outside it (other than on its button),
// Escape, the application losing focus, or the button's window being hidden dismisses it. When it
// closes, the keyboard focus goes back to its button (or to a fallback when the button is
// disabled by then), in the button's window, which is activated again unless another application
// took the focus.
class LiveTranslationPopover final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationPopover)

public:
    static constexpr int kArrowWidth = 20;
    static constexpr int kArrowHeight = 9;
    static constexpr int kAnchorGap = 2;
    static constexpr int kCornerRadius = 10;
    static constexpr int kBorderWidth = 1;
    static constexpr int kShadowMargin = 12;
    static constexpr int kScreenMargin = 6;

    // parent: the widget whose window the popover belongs to (it stays above that window).
    explicit LiveTranslationPopover(QWidget *parent = nullptr);
    ~LiveTranslationPopover() override;

    // The content, shown at its own fixed size; the popover takes ownership. Its focus (or focus
    // proxy) receives keyboard focus when the popover opens.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    void setColors(const LiveTranslationPalette &palette);
    // Where the focus goes on closing when the button is disabled or hidden by then (none: it
    // stays where the toolkit puts it).
    void setFocusFallback(QWidget *widget) { m_focusFallback = widget; }

    // Opens under anchor (above it when the screen has no room below), or moves there when open.
    void present(QWidget *anchor);
    // Closes; emits dismissed() when it was open.
    void dismiss();
    bool isPresented() const { return isVisible(); }
    QWidget *anchor() const { return m_anchor; }

    // The arrow's tip, in global coordinates.
    QPoint arrowTip() const;

signals:
    void dismissed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void closeAndReturnFocus(bool reactivateAnchorWindow);
    void returnFocus(bool reactivateAnchorWindow);
    void place();
    QRect bodyRect() const;
    QPainterPath outline() const;
    void watchApplication(bool watch);
    void onApplicationStateChanged(Qt::ApplicationState state);
    bool isOutsidePress(QObject *watched) const;

    QWidget *m_content = nullptr;
    QPointer<QWidget> m_anchor;
    QPointer<QWidget> m_anchorWindow;
    QPointer<QWidget> m_focusFallback;
    LiveTranslationPalette m_palette = LiveTranslationPalette::light();
    bool m_below = true;
    int m_arrowX = 0; // along the body, from its left edge
    int m_shadow = 0; // the margin drawn as shadow; none when the window is masked
    bool m_watching = false;
    // How the content was given the focus while the window was not active yet: the toolkit hands
    // it on at activation with a reason of its own, which would hide a keyboard focus ring.
    std::optional<Qt::FocusReason> m_pendingFocus;
};
