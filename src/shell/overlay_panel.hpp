#pragma once

#include <memory>
#include <optional>

#include <QMargins>
#include <QSize>
#include <QWidget>

class QVBoxLayout;
class LiveTranslationPanelHints;

// The helper's only window: a floating utility panel titled "Live Translate" that stays above
// other windows on every desktop, has a title bar with a close button only, and can take keyboard
// focus without being activated when shown. Pressing its close button never closes it: the
// panel emits closeRequested() and whoever owns it decides (the delegate hides it).
//
// A plain window rather than a tool window: X11 tool windows are made transient for an unmapped
// leader window, which window managers answer by keeping them on one desktop and offering to
// minimize them.
class LiveTranslationOverlayPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationOverlayPanel)

public:
    static constexpr QSize kContentSize {520, 760};
    static constexpr QSize kMinimumContentSize {460, 520};
    static constexpr QSize kMaximumContentSize {660, 1200};

    static constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::WindowStaysOnTopHint
        | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;

    explicit LiveTranslationOverlayPanel(QWidget *parent = nullptr);
    ~LiveTranslationOverlayPanel() override;

    // The panel's content fills it; the panel takes ownership. A previous content is deleted.
    void setContentWidget(QWidget *content);

    // Shows the panel in front of other windows without activating it, a minimized one included.
    // A hidden panel first gets its window manager hints again, since a withdrawn window loses
    // them, and comes back with its frame exactly where it was hidden.
    void orderFrontRegardless();
    void orderOut();
    // Activates the shown panel and puts the keyboard focus on its first control: the way into
    // the panel for a keyboard or screen-reader user.
    void activateForKeyboard();
    // Whether the user sees the panel: shown and not minimized.
    bool isShown() const;

    // Where placement puts the panel: its frame (title bar and borders included).
    QRect panelFrame() const;
    void movePanelFrame(const QPoint &origin);
    // Whether the window manager's title bar and borders are known (a shown panel under a window
    // manager); until then the frame is the bare window.
    bool isFramed() const;
    // Centres the panel in the visible area of the screen it is on; without screens, nothing.
    void centre();

signals:
    void closeRequested();
    // The panel moved or changed size, by itself or because the window manager framed it.
    void frameChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void restoreHiddenFrame();

    QVBoxLayout *m_layout = nullptr;
    QWidget *m_content = nullptr;
    std::unique_ptr<LiveTranslationPanelHints> m_hints;
    // Where the frame was when the framed panel was hidden, and the frame's borders then: a
    // withdrawn window has no frame, and window managers put it back in different places.
    std::optional<QPoint> m_hiddenFrameOrigin;
    QMargins m_hiddenFrameMargins;
    // Set from showing such a panel until the window manager has mapped it.
    bool m_restoringHiddenFrame = false;
};
