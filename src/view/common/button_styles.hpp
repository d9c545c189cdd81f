#pragma once

#include <variant>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "common/palette.hpp"

class QKeyEvent;
class QPainter;

// The filled button for the main action of an area: accent fill, dark label, 28 high.
struct TavuPrimaryButtonStyle {
    LiveTranslationPalette palette;

    static constexpr int kHeight = 28;
    static constexpr int kHorizontalPadding = 11;
    static constexpr int kFontPixelSize = 11;
    static constexpr qreal kCornerRadius = 7;
    static constexpr qreal kPressedFillOpacity = 0.72;
    static constexpr qreal kTextOpacity = 0.84;

    QFont font(const QFont &base) const;
    QColor textColor(bool pressed) const;
    QColor fillColor(bool pressed) const;
    QSize sizeFor(const QString &label, const QFont &base) const;
    void paint(QPainter &painter, const QRectF &box, const QString &label, const QFont &base,
        bool pressed) const;

    bool operator==(const TavuPrimaryButtonStyle &) const = default;
};

// The quieter outlined button: muted fill, a border, 26 high.
struct TavuSecondaryButtonStyle {
    LiveTranslationPalette palette;

    static constexpr int kHeight = 26;
    static constexpr int kHorizontalPadding = 10;
    static constexpr int kFontPixelSize = 11;
    static constexpr qreal kCornerRadius = 7;
    static constexpr qreal kBorderWidth = 1;
    static constexpr qreal kPressedTextOpacity = 0.65;

    QFont font(const QFont &base) const;
    QColor textColor(bool pressed) const;
    QColor fillColor(bool pressed) const;
    QColor borderColor() const { return palette.border; }
    QSize sizeFor(const QString &label, const QFont &base) const;
    void paint(QPainter &painter, const QRectF &box, const QString &label, const QFont &base,
        bool pressed) const;

    bool operator==(const TavuSecondaryButtonStyle &) const = default;
};

// What every button of the panel shares beyond its look: the toolkit-like dimming when disabled,
// a focus ring shown only after keyboard navigation, and activation with Return as well as Space.
namespace buttonlook {

inline constexpr qreal kDisabledOpacity = 0.42;
// A chromeless button's content while it is pressed.
inline constexpr qreal kPressedOpacity = 0.55;
inline constexpr qreal kFocusRingWidth = 1.5;
inline constexpr qreal kFocusRingInset = 2.25;

// Return and Enter (Space is the toolkit's own) activate a focused button.
bool isActivationKey(const QKeyEvent *event);

// Tracks whether focus arrived by keyboard, so that a mouse press shows no ring.
class FocusRing final {
public:
    void focusIn(Qt::FocusReason reason);
    bool visible(const QWidget *widget) const { return m_keyboard && widget->hasFocus(); }

private:
    bool m_keyboard = false;
};

// A control that knows whether it holds the focus and the focus came by keyboard: a popover it
// opens then shows the focus ring in its content at once.
class KeyboardFocus {
public:
    virtual bool hasKeyboardFocus() const = 0;

protected:
    KeyboardFocus() = default;
    ~KeyboardFocus() = default;
    KeyboardFocus(const KeyboardFocus &) = default;
    KeyboardFocus &operator=(const KeyboardFocus &) = default;
};

// Whether widget is such a control with the focus from the keyboard.
bool hasKeyboardFocus(const QWidget *widget);

// A ring inside the outline of box, in color: LiveTranslationPalette::focusRingOn() of what is
// under the ring, so that every ring stands out from its fill.
void paintFocusRing(QPainter &painter, const QRectF &box, qreal cornerRadius, const QColor &color);

} // namespace buttonlook

// A button of the panel's own drawing: Return and Enter press it as Space does, and it knows
// whether focus came by keyboard, to show its focus ring then only.
template <class Button> class TavuKeyboardButton : public Button, public buttonlook::KeyboardFocus {
public:
    using Button::Button;

    bool hasKeyboardFocus() const override { return showsFocusRing(); }

protected:
    bool showsFocusRing() const { return m_focusRing.visible(this); }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (buttonlook::isActivationKey(event)) {
            this->click();
            event->accept();
            return;
        }
        Button::keyPressEvent(event);
    }

    void focusInEvent(QFocusEvent *event) override
    {
        m_focusRing.focusIn(event->reason());
        Button::focusInEvent(event);
    }

private:
    buttonlook::FocusRing m_focusRing;
};

// A push button painted with one of the two styles. Its width follows the label; its height is
// the style's.
class TavuButton final : public TavuKeyboardButton<QPushButton> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TavuButton)

public:
    explicit TavuButton(const QString &text = {}, QWidget *parent = nullptr);

    // Setting a style equal to the current one changes nothing and paints nothing.
    void setButtonStyle(const TavuPrimaryButtonStyle &style);
    void setButtonStyle(const TavuSecondaryButtonStyle &style);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    template <typename Style> void applyStyle(const Style &style);

    std::variant<TavuPrimaryButtonStyle, TavuSecondaryButtonStyle> m_style;
};
