#pragma once

#include <QColor>
#include <QPalette>

#include "appearance.hpp"

// The twelve named colours of the panel, one fixed variant per colour scheme.
struct LiveTranslationPalette {
    QColor background;
    QColor surface;
    QColor mutedSurface;
    QColor foreground;
    QColor secondaryText;
    QColor tertiaryText;
    QColor primary;
    QColor accent;
    QColor selection;
    QColor border;
    QColor warning;
    QColor liveAccent;

    static LiveTranslationPalette light();
    static LiveTranslationPalette dark();
    // The dark variant for the dark scheme, the light one for every other.
    static LiveTranslationPalette forScheme(LiveTranslationColorScheme scheme);

    bool operator==(const LiveTranslationPalette &) const = default;

    // The same colours for the toolkit's standard controls (text fields, scroll bars, menus, hover
    // help), in every colour group; disabled texts in tertiaryText.
    QPalette toQPalette() const;

    // The colour of every keyboard focus ring drawn on behind (the fill or surface under the
    // ring): the accent where it stands out from behind by at least kFocusRingContrast, else the
    // foreground or the background, whichever stands out more.
    static constexpr qreal kFocusRingContrast = 3.0;
    QColor focusRingOn(const QColor &behind) const;
};

// The contrast ratio of two opaque colours, from 1 (the same) to 21 (black on white).
qreal contrastRatio(const QColor &a, const QColor &b);

// A palette colour at an opacity (0..1).
QColor withOpacity(QColor color, qreal opacity);
