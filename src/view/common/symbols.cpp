#include "symbols.hpp"

#include <array>
#include <utility>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

// Outside any namespace: Q_INIT_RESOURCE names a function in the global one.
static int loadSymbolFont()
{
    Q_INIT_RESOURCE(symbols);
    return QFontDatabase::addApplicationFont(
        QStringLiteral(":/tavu/fonts/MaterialIcons-Regular.ttf"));
}

namespace symbols {
namespace {

// Symbol names used by the panel and the Material Icons codepoints that draw them.
constexpr std::array<std::pair<std::u16string_view, char16_t>, 12> kGlyphs {{
    {u"captions.bubble", 0xe048}, // subtitles
    {u"xmark", 0xe5cd}, // close
    {u"chevron.down", 0xe5cf}, // expand_more
    {u"magnifyingglass", 0xe8b6}, // search
    {u"checkmark", 0xe5ca}, // check
    {u"arrow.left.arrow.right", 0xe8d4}, // swap_horiz
    {u"speaker.wave.2", 0xe050}, // volume_up
    {u"speaker.wave.2.fill", 0xe050}, // volume_up
    {u"app.fill", 0xe5c3}, // apps
    {u"exclamationmark.triangle.fill", 0xe002}, // warning
    {u"lock.fill", 0xe897}, // lock
    {u"clock", 0xe8b5}, // schedule
}};

const QString &familyName()
{
    static const QString family = [] {
        const int id = loadSymbolFont();
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.constFirst();
    }();
    return family;
}

} // namespace

QFont font(qreal pixelSize, QFont::Weight weight)
{
    QFont result(familyName());
    result.setPixelSize(qMax(1, qRound(pixelSize * kOpticalScale)));
    result.setWeight(weight);
    result.setStyleStrategy(QFont::PreferAntialias);
    // Glyphs come from this font only; a fallback face would draw the wrong shape.
    result.setStyleHint(QFont::AnyStyle, QFont::NoFontMerging);
    return result;
}

QString glyph(QStringView sfSymbolName)
{
    for (const auto &[name, codepoint] : kGlyphs) {
        if (QStringView(name.data(), qsizetype(name.size())) == sfSymbolName)
            return {QChar(codepoint)};
    }
    return {};
}

} // namespace symbols

void paintSymbol(QPainter &painter, const QRectF &rect, const QString &glyph, const QFont &font,
    const QColor &color)
{
    if (glyph.isEmpty())
        return;
    const QFontMetricsF metrics(font);
    // The font's em square is the design box of every icon; centring it keeps each icon's
    // intended optical position.
    const qreal em = font.pixelSize();
    const qreal advance = metrics.horizontalAdvance(glyph);
    const QPointF origin(
        rect.center().x() - advance / 2, rect.center().y() - em / 2 + metrics.ascent());
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(origin, glyph);
    painter.restore();
}

LiveTranslationSymbol::LiveTranslationSymbol(QStringView name, qreal pixelSize, QWidget *parent)
    : QWidget(parent)
    , m_name(name.toString())
    , m_glyph(symbols::glyph(name))
    , m_pixelSize(pixelSize)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TranslucentBackground);
}

void LiveTranslationSymbol::setSymbol(QStringView name)
{
    if (name == m_name)
        return;
    m_name = name.toString();
    m_glyph = symbols::glyph(name);
    update();
}

void LiveTranslationSymbol::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void LiveTranslationSymbol::setWeight(QFont::Weight weight)
{
    if (weight == m_weight)
        return;
    m_weight = weight;
    update();
}

void LiveTranslationSymbol::setFrameSize(QSize size)
{
    if (size == m_frameSize)
        return;
    m_frameSize = size;
    updateGeometry();
    update();
}

QSize LiveTranslationSymbol::sizeHint() const
{
    if (m_frameSize.isValid() && !m_frameSize.isEmpty())
        return m_frameSize;
    const int side = qCeil(m_pixelSize * symbols::kOpticalScale);
    return {side, side};
}

void LiveTranslationSymbol::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const QColor color = m_color.isValid() ? m_color : palette().color(foregroundRole());
    paintSymbol(painter, QRectF(rect()), m_glyph, symbols::font(m_pixelSize, m_weight), color);
}
