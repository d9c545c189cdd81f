#include "picker_rows.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include "common/symbols.hpp"
#include "common/view_support.hpp"
#include "pickers/lazy_list_accessible.hpp"

namespace {

const QString kCheckmark = QStringLiteral("checkmark");

// The check mark's box at the trailing edge of rect; the same width whether shown or not, so that
// names elide at the same place in every row.
QRectF checkBox(const QRect &rect, int pixelSize)
{
    return {qreal(rect.right() + 1 - pixelSize), qreal(rect.top()), qreal(pixelSize),
        qreal(rect.height())};
}

// Host texts may hold line breaks; a row shows one line.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == QChar::LineFeed || c == QChar::CarriageReturn || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator || c == QChar(0x0B) || c == QChar(0x0C)
            || c == QChar(0x85))
            c = QChar::Space;
    }
    return text;
}

void paintCheckmark(QPainter &painter, const QRectF &box, int pixelSize, const QColor &color)
{
    paintSymbol(
        painter, box, symbols::glyph(kCheckmark), symbols::font(pixelSize, QFont::Bold), color);
}

// A row as assistive technology sees it: an item of its list, named by its option, selected
// when it is the chosen entry, reached by the list's keys though it is no Tab stop, and pressed
// to choose it.
class PickerRowAccessible final : public QAccessibleWidget {
public:
    explicit PickerRowAccessible(LiveTranslationPickerRow *row)
        : QAccessibleWidget(row, QAccessible::ListItem)
    {
    }

    // In its list, the row's index is its entry's index.
    QAccessibleInterface *parent() const override
    {
        if (QAccessibleInterface *list = lazyListItemParent(widget()))
            return list;
        return QAccessibleWidget::parent();
    }

    // A header shown above the row in its entry.
    int childCount() const override { return int(lazyListItemCompanions(widget()).size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList companions = lazyListItemCompanions(widget());
        return index >= 0 && index < companions.size()
            ? QAccessible::queryAccessibleInterface(companions[index])
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(lazyListItemCompanions(widget()).indexOf(child->object())) : -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.selectable = true;
        s.selected = row()->isSelected();
        // Screen readers say "checked" for the chosen entry and nothing for the others.
        s.checkable = row()->isSelected();
        s.checked = row()->isSelected();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (row()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && row()->isEnabled()) {
            row()->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    LiveTranslationPickerRow *row() const
    {
        return static_cast<LiveTranslationPickerRow *>(widget());
    }
};

QAccessibleInterface *pickerRowFactory(const QString & /*className*/, QObject *object)
{
    if (auto *row = qobject_cast<LiveTranslationPickerRow *>(object))
        return new PickerRowAccessible(row);
    return nullptr;
}

} // namespace

LiveTranslationPickerRow::LiveTranslationPickerRow(qreal cornerRadius, QWidget *parent)
    : QAbstractButton(parent)
    , m_cornerRadius(cornerRadius)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pickerRowFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    // Reached through the list's own keyboard handling; never a Tab stop of its own, and a click
    // leaves the focus where it was (in the search field).
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LiveTranslationPickerRow::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        changed.checkable = true;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

void LiveTranslationPickerRow::setColors(const LiveTranslationPalette &palette)
{
    if (m_palette == palette)
        return;
    m_palette = palette;
    update();
}

void LiveTranslationPickerRow::setOption(const QString &id, const QString &name)
{
    if (m_id == id && m_name == name)
        return;
    m_id = id;
    m_name = name;
    // An accessible name, not the button text: the text would turn "&" into a shortcut. A row
    // without a name to read is still named, by its id.
    setAccessibleName(name.trimmed().isEmpty() ? id : name);
    update();
}

void LiveTranslationPickerRow::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect());
    QColor fill = Qt::transparent;
    if (m_selected || isDown())
        fill = m_palette.selection;
    else if (underMouse() && isEnabled())
        fill = withOpacity(m_palette.selection, kHoverOpacity);
    if (fill.alpha() > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(box, m_cornerRadius, m_cornerRadius);
    }
    if (m_focusRing.visible(this))
        buttonlook::paintFocusRing(painter, box, m_cornerRadius,
            m_palette.focusRingOn(
                m_selected || isDown() ? m_palette.selection : m_palette.surface));
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintContent(painter);
}

void LiveTranslationPickerRow::keyPressEvent(QKeyEvent *event)
{
    if (buttonlook::isActivationKey(event)) {
        click();
        event->accept();
        return;
    }
    // The button's own arrow handling would move the focus as Tab does; the list moves it.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: event->ignore(); return;
    default: QAbstractButton::keyPressEvent(event); return;
    }
}

void LiveTranslationPickerRow::focusInEvent(QFocusEvent *event)
{
    m_focusRing.focusIn(event->reason());
    QAbstractButton::focusInEvent(event);
}

LiveTranslationLanguageRow::LiveTranslationLanguageRow(QWidget *parent)
    : LiveTranslationPickerRow(kCornerRadius, parent)
{
    setFixedHeight(kHeight);
    setFont(systemFont(kNamePixelSize));
}

void LiveTranslationLanguageRow::paintContent(QPainter &painter)
{
    const QRect inner = rect().adjusted(kHorizontalPadding, 0, -kHorizontalPadding, 0);
    const QRectF check = checkBox(inner, kCheckPixelSize);
    const int nameWidth = std::max(0, int(check.left()) - kMinGap - inner.left());
    const QFontMetrics metrics(font());
    painter.setPen(colors().foreground);
    painter.setFont(font());
    painter.drawText(QRect(inner.left(), inner.top(), nameWidth, inner.height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        metrics.elidedText(oneLine(name()), Qt::ElideRight, nameWidth));
    if (isSelected())
        paintCheckmark(painter, check, kCheckPixelSize, colors().primary);
}

LiveTranslationAudioRow::LiveTranslationAudioRow(QWidget *parent)
    : LiveTranslationPickerRow(kCornerRadius, parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumHeight(kMinHeight);
    setFont(systemFont(kNamePixelSize, QFont::Medium));
}

void LiveTranslationAudioRow::setSourceIcon(IconKind kind, const QIcon &image)
{
    m_iconKind = kind;
    m_image = kind == IconKind::application ? image : QIcon();
    m_fitted = QPixmap();
    update();
}

void LiveTranslationAudioRow::setSubtitle(const QString &subtitle)
{
    if (m_subtitle == subtitle)
        return;
    m_subtitle = subtitle;
    update();
}

void LiveTranslationAudioRow::paintContent(QPainter &painter)
{
    const QRect inner = rect().adjusted(kHorizontalPadding, 0, -kHorizontalPadding, 0);
    const QRect icon(inner.left(), inner.center().y() - kIconSize / 2 + 1, kIconSize, kIconSize);
    switch (m_iconKind) {
    case IconKind::everything:
        paintSymbol(painter, icon, symbols::glyph(u"speaker.wave.2.fill"),
            symbols::font(kSymbolPixelSize), colors().primary);
        break;
    case IconKind::application:
        // Stretched or shrunk to fit the frame with its aspect ratio kept, at the screen's density.
        if (m_fitted.isNull()
            || m_fitted.devicePixelRatio() != painter.device()->devicePixelRatioF())
            m_fitted = fittedPixmap(m_image, icon.size(), painter.device()->devicePixelRatioF());
        painter.drawPixmap(
            QRectF(icon).center() - QRectF(QPointF(), m_fitted.deviceIndependentSize()).center(),
            m_fitted);
        break;
    case IconKind::generic:
        paintSymbol(painter, icon, symbols::glyph(u"app.fill"), symbols::font(kSymbolPixelSize),
            colors().secondaryText);
        break;
    }

    const QRectF check = checkBox(inner, kCheckPixelSize);
    const int textLeft = icon.right() + 1 + kSpacing;
    const int textWidth = std::max(0, int(check.left()) - kSpacing - textLeft);
    const QFont nameFont = font();
    const QFont subtitleFont = systemFont(kSubtitlePixelSize);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics subtitleMetrics(subtitleFont);
    const int textHeight = nameMetrics.height()
        + (m_subtitle.isEmpty() ? 0 : kTextSpacing + subtitleMetrics.height());
    int y = inner.center().y() + 1 - textHeight / 2;

    painter.setFont(nameFont);
    painter.setPen(colors().foreground);
    painter.drawText(QRect(textLeft, y, textWidth, nameMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        nameMetrics.elidedText(oneLine(name()), Qt::ElideRight, textWidth));
    if (!m_subtitle.isEmpty()) {
        y += nameMetrics.height() + kTextSpacing;
        painter.setFont(subtitleFont);
        painter.setPen(colors().tertiaryText);
        painter.drawText(QRect(textLeft, y, textWidth, subtitleMetrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            subtitleMetrics.elidedText(oneLine(m_subtitle), Qt::ElideRight, textWidth));
    }
    if (isSelected())
        paintCheckmark(painter, check, kCheckPixelSize, colors().primary);
}
