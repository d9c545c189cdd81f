#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QLabel;
class QProgressBar;
class LiveTranslationNoticeText;
class LiveTranslationSymbol;

// What the host's audio capture is doing, under the audio source list: the level bar, a notice
// when the capture fell back to another source, a warning when buffers were dropped, and the
// privacy note, always last. It only shows snapshot fields; it sends nothing.
class LiveTranslationCaptureStatus final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptureStatus)

public:
    static constexpr int kPadding = 12;
    static constexpr int kSpacing = 7;
    static constexpr int kCaptionPixelSize = 10;
    static constexpr int kSymbolPixelSize = 11;
    static constexpr int kLabelSpacing = 5;
    static constexpr int kBarHeight = 5;
    // The bar's resolution: the level maps onto 0..kBarSteps.
    static constexpr int kBarSteps = 1000;

    explicit LiveTranslationCaptureStatus(QWidget *parent = nullptr);

    // Idempotent: unchanged inputs touch no widget.
    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

    bool showsFallbackNotice() const;
    bool showsDroppedBuffers() const;

    // The bar's value for a level: 0 for nothing (NaN) or below, kBarSteps for 1 or above.
    static int barValue(float level);

private:
    struct LabelRow {
        QWidget *row = nullptr;
        LiveTranslationSymbol *symbol = nullptr;
        QLabel *text = nullptr;
    };
    // A row of a symbol and a plain, wrapping text; label, when given, is the text's widget.
    LabelRow makeLabelRow(QStringView symbolName, const QString &text, const QString &identifier,
        QLabel *label = nullptr);
    static void colorRow(const LabelRow &row, const QColor &color);

    QProgressBar *m_level;
    LiveTranslationNoticeText *m_notice;
    LabelRow m_fallback;
    LabelRow m_dropped;
    LabelRow m_privacy;

    // What was last shown, to skip unchanged work on every snapshot.
    std::optional<float> m_shownLevel;
    std::optional<std::optional<std::string>> m_shownNotice;
    std::optional<bool> m_shownDropped;
    std::optional<LiveTranslationPalette> m_shownPalette;
};
