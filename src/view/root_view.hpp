#pragma once

#include <optional>

#include <QWidget>

#include "common/palette.hpp"
#include "common/view_state.hpp"

class QAbstractButton;
class QStackedWidget;
class LiveTranslationHelperModel;
class LiveTranslationTopBar;
class LiveTranslationLimitCard;
class LiveTranslationDivider;
class LiveTranslationFooter;
class LiveTranslationCaptionsView;
class LiveTranslationCaptionsFooter;
class LiveTranslationPickerPopovers;
class LiveTranslationAnnouncer;

// The panel's content: the top bar, the captions column or the limit-reached card, and the
// footer, redrawn from the model's snapshot whenever it changes.
class LiveTranslationHelperView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationHelperView)

public:
    explicit LiveTranslationHelperView(
        LiveTranslationHelperModel *model, QWidget *parent = nullptr);

    void setColorScheme(LiveTranslationColorScheme scheme);
    LiveTranslationColorScheme colorScheme() const { return m_colorScheme; }
    void setReduceMotion(bool reduceMotion);
    bool reduceMotion() const { return m_reduceMotion; }

    // One pass over every area; an area whose inputs did not change touches no widget.
    void render();

    // The header capsules; the pickers hang their popovers on them.
    QAbstractButton *languagePairButton() const;
    QAbstractButton *audioSourceButton() const;

    // Which picker is open and the language search text.
    LiveTranslationViewState *viewState() { return &m_state; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildContent();
    void buildFooter();
    void applyPalette(const LiveTranslationPalette &palette);
    void toggleLanguages();
    void toggleAudio();

    LiveTranslationHelperModel *m_model;
    LiveTranslationColorScheme m_colorScheme = LiveTranslationColorScheme::light;
    bool m_reduceMotion = false;
    LiveTranslationViewState m_state;

    LiveTranslationTopBar *m_topBar = nullptr;
    LiveTranslationDivider *m_topDivider = nullptr;
    QStackedWidget *m_content = nullptr;
    LiveTranslationCaptionsView *m_captions = nullptr;
    LiveTranslationLimitCard *m_limitCard = nullptr;
    LiveTranslationDivider *m_footerDivider = nullptr;
    LiveTranslationFooter *m_footer = nullptr;
    LiveTranslationCaptionsFooter *m_captionsFooter = nullptr;
    LiveTranslationPickerPopovers *m_pickers = nullptr;
    LiveTranslationAnnouncer *m_announcer = nullptr;
    std::optional<LiveTranslationPalette> m_appliedPalette;
};
