#include "view_support.hpp"

#include <algorithm>

#include <QApplication>
#include <QBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QWidget>
#include <QWidgetItem>

#include "common/palette.hpp"

namespace {

// Laid out without its overhang, placed with it.
class LeadingOverhangItem final : public QWidgetItem {
public:
    LeadingOverhangItem(QWidget *widget, int overhang)
        : QWidgetItem(widget)
        , m_overhang(overhang)
    {
    }

    QSize sizeHint() const override { return narrower(QWidgetItem::sizeHint()); }
    QSize minimumSize() const override { return narrower(QWidgetItem::minimumSize()); }
    QSize maximumSize() const override { return narrower(QWidgetItem::maximumSize()); }

    // The rect comes in visual coordinates: the leading side is the right one in a right-to-left
    // layout.
    void setGeometry(const QRect &rect) override
    {
        const bool rightToLeft = widget()->layoutDirection() == Qt::RightToLeft;
        QWidgetItem::setGeometry(
            rightToLeft ? rect.adjusted(0, 0, m_overhang, 0) : rect.adjusted(-m_overhang, 0, 0, 0));
    }

private:
    QSize narrower(const QSize &size) const
    {
        return {std::max(0, size.width() - m_overhang), size.height()};
    }

    int m_overhang;
};

} // namespace

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == color && palette.color(QPalette::Text) == color)
        return;
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QFont systemFont(int pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

void setFontIfChanged(QWidget *widget, const QFont &font)
{
    if (widget->font() != font)
        widget->setFont(font);
}

qsizetype textPartEnd(const QString &text, qsizetype length)
{
    constexpr qsizetype kLongestCluster = 64;
    if (length >= text.size())
        return text.size();
    const qsizetype windowEnd = std::min(text.size(), length + kLongestCluster + 1);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.constData(), windowEnd);
    finder.setPosition(length);
    if (finder.isAtBoundary())
        return length;
    const qsizetype next = finder.toNextBoundary();
    if (next > 0 && (next < windowEnd || windowEnd == text.size()))
        return next;
    if (text.at(length).isLowSurrogate() && text.at(length - 1).isHighSurrogate())
        ++length;
    return length;
}

int screenHeightFor(const QWidget *widget)
{
    constexpr int kFallbackHeight = 1200;
    const QScreen *screen = widget->screen();
    return screen ? screen->availableGeometry().height() : kFallbackHeight;
}

QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    // Escaped inside an explicit rich-text document, markup characters show as themselves.
    return QStringLiteral("<qt>") + text.toHtmlEscaped() + QStringLiteral("</qt>");
}

void addWidgetWithLeadingOverhang(
    QBoxLayout *layout, QWidget *widget, int overhang, int stretch, Qt::Alignment alignment)
{
    auto *item = new LeadingOverhangItem(widget, overhang);
    item->setAlignment(alignment);
    layout->addItem(item);
    layout->setStretch(layout->count() - 1, stretch);
}

QPixmap fittedPixmap(const QIcon &icon, const QSize &frame, qreal devicePixelRatio)
{
    const QSize target = (QSizeF(frame) * devicePixelRatio).toSize();
    if (icon.isNull() || target.isEmpty())
        return {};
    // A raster icon gives at most its largest size; a scalable one renders at the size asked.
    QSize largest = target;
    for (const QSize &size : icon.availableSizes())
        if (size.width() * size.height() > largest.width() * largest.height())
            largest = size;
    QPixmap image = icon.pixmap(largest, 1.0);
    if (image.isNull())
        return {};
    const QSize fitted = image.size().scaled(target, Qt::KeepAspectRatio);
    if (image.size() != fitted)
        image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

void setScrollBarLook(QScrollBar *bar, const LiveTranslationPalette &palette)
{
    constexpr int kWidth = 10;
    constexpr int kInset = 2;
    constexpr int kHandleRadius = 3;
    constexpr int kHandleMinLength = 28;
    constexpr qreal kHandleOpacity = 0.55;
    constexpr qreal kHoveredHandleOpacity = 0.75;
    const QString style
        = QStringLiteral(
            "QScrollBar:vertical { background: transparent; width: %1px;"
            " margin: %2px %2px %2px 0; }"
            "QScrollBar::handle:vertical { background: %3; border-radius: %4px;"
            " min-height: %5px; }"
            "QScrollBar::handle:vertical:hover { background: %6; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
            " { height: 0; border: none; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
              .arg(kWidth)
              .arg(kInset)
              .arg(withOpacity(palette.tertiaryText, kHandleOpacity).name(QColor::HexArgb))
              .arg(kHandleRadius)
              .arg(kHandleMinLength)
              .arg(withOpacity(palette.tertiaryText, kHoveredHandleOpacity).name(QColor::HexArgb));
    if (bar->styleSheet() != style)
        bar->setStyleSheet(style);
}
