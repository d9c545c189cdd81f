#include "palette.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

LiveTranslationPalette LiveTranslationPalette::light()
{
    return {
        .background = QColor(253, 249, 240),
        .surface = QColor(255, 253, 249),
        .mutedSurface = QColor(246, 241, 232),
        .foreground = QColor(3, 19, 16),
        .secondaryText = QColor(61, 85, 89),
        .tertiaryText = QColor(112, 128, 126),
        .primary = QColor(0, 64, 44),
        .accent = QColor(136, 213, 20),
        .selection = QColor(219, 237, 224),
        .border = QColor(217, 212, 201),
        .warning = QColor(179, 90, 32),
        .liveAccent = QColor(138, 101, 0),
    };
}

LiveTranslationPalette LiveTranslationPalette::dark()
{
    return {
        .background = QColor(6, 17, 27),
        .surface = QColor(17, 21, 25),
        .mutedSurface = QColor(16, 26, 29),
        .foreground = QColor(246, 248, 243),
        .secondaryText = QColor(164, 173, 174),
        .tertiaryText = QColor(112, 122, 128),
        .primary = QColor(183, 255, 119),
        .accent = QColor(159, 229, 26),
        .selection = QColor(22, 55, 46),
        .border = QColor(39, 51, 56),
        .warning = QColor(255, 179, 107),
        .liveAccent = QColor(224, 180, 93),
    };
}

LiveTranslationPalette LiveTranslationPalette::forScheme(LiveTranslationColorScheme scheme)
{
    return scheme == LiveTranslationColorScheme::dark ? dark() : light();
}

namespace {

qreal relativeLuminance(const QColor &color)
{
    const auto channel
        = [](qreal c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF())
        + 0.0722 * channel(rgb.blueF());
}

} // namespace

qreal contrastRatio(const QColor &a, const QColor &b)
{
    // The list form returns values; the two-argument form would refer to the temporaries.
    const auto [dark, light] = std::minmax({relativeLuminance(a), relativeLuminance(b)});
    return (light + 0.05) / (dark + 0.05);
}

QColor LiveTranslationPalette::focusRingOn(const QColor &behind) const
{
    if (contrastRatio(accent, behind) >= kFocusRingContrast)
        return accent;
    return contrastRatio(foreground, behind) >= contrastRatio(background, behind) ? foreground
                                                                                  : background;
}

QPalette LiveTranslationPalette::toQPalette() const
{
    QPalette palette;
    const std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles {
        {QPalette::Window, background},
        {QPalette::WindowText, foreground},
        {QPalette::Base, surface},
        {QPalette::AlternateBase, mutedSurface},
        {QPalette::Text, foreground},
        {QPalette::PlaceholderText, tertiaryText},
        {QPalette::Button, mutedSurface},
        {QPalette::ButtonText, foreground},
        {QPalette::BrightText, warning},
        // Selected text reads as it does in the captions: the selection fill under the text.
        {QPalette::Highlight, selection},
        {QPalette::HighlightedText, foreground},
        {QPalette::Link, primary},
        {QPalette::ToolTipBase, surface},
        {QPalette::ToolTipText, foreground},
        {QPalette::Light, surface.lighter(120)},
        {QPalette::Midlight, mutedSurface},
        {QPalette::Mid, border},
        {QPalette::Dark, border.darker(130)},
        {QPalette::Shadow, border.darker(200)},
    };
    for (const auto &[role, color] : roles)
        palette.setColor(role, color);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, tertiaryText);
    return palette;
}

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}
