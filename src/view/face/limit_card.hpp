#pragma once

#include <optional>

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QLabel;
class LiveTranslationSymbol;
class TavuButton;

// Shown instead of the captions when the account's time is used up outside a session: it says so
// and offers to request more time.
class LiveTranslationLimitCard final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationLimitCard)

public:
    static constexpr int kPadding = 24;
    static constexpr int kSpacing = 14;
    static constexpr int kSymbolPixelSize = 42;
    static constexpr int kTitlePixelSize = 15;
    static constexpr int kTextPixelSize = 12;

    explicit LiveTranslationLimitCard(QWidget *parent = nullptr);

    // The card shows no snapshot field; only its colours follow the scheme.
    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

signals:
    void requestMoreTimePressed();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    LiveTranslationSymbol *m_symbol;
    QLabel *m_title;
    QLabel *m_text;
    TavuButton *m_button;
    std::optional<LiveTranslationPalette> m_shownPalette;
};
