#pragma once

#include <optional>

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QLabel;
class QLineEdit;
class LiveTranslationDivider;
class LiveTranslationHelperModel;
class LiveTranslationLanguageColumn;
class LiveTranslationLanguageSearchField;
class LiveTranslationSwapButton;
class LiveTranslationViewState;

// The language picker, the content of the popover under the pair button: a search field, the
// FROM and TO columns filtered by it, the swap button between them and a footnote. Every choice
// is one command to the host; what is marked comes only from the snapshot. The search text is
// the view state's, so it outlives closing the popover and choosing a language.
class LiveTranslationLanguagePicker final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationLanguagePicker)

public:
    static constexpr int kWidth = 470;
    static constexpr int kHeight = 360;
    static constexpr int kTitlePixelSize = 13;
    static constexpr int kFootnotePixelSize = 10;
    static constexpr int kSideMargin = 16;
    static constexpr int kTitleTop = 15;
    static constexpr int kTitleBottom = 10;
    static constexpr int kSearchBottom = 12;
    static constexpr int kFootnoteVerticalPadding = 11;
    static constexpr int kSwapColumnWidth = 38;
    static constexpr int kSwapColumnHeight = 245;
    static constexpr int kSwapButtonPadding = 38;

    // state: holds the search text; it outlives the picker.
    LiveTranslationLanguagePicker(LiveTranslationHelperModel *model,
        LiveTranslationViewState *state, QWidget *parent = nullptr);

    // Redraws the columns, marks and swap button from the snapshot. Idempotent: unchanged inputs
    // filter nothing again.
    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

    QLineEdit *searchField() const;
    LiveTranslationLanguageColumn *sourceColumn() const { return m_source; }
    LiveTranslationLanguageColumn *targetColumn() const { return m_target; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyPalette(const LiveTranslationPalette &palette);
    void renderColumns(const LiveTranslationHelperSnapshot &snapshot);
    void onSearchChanged(const QString &text);
    void swapLanguages();

    LiveTranslationHelperModel *m_model;
    LiveTranslationViewState *m_state;
    QLabel *m_title;
    LiveTranslationLanguageSearchField *m_search;
    LiveTranslationLanguageColumn *m_source;
    LiveTranslationSwapButton *m_swap;
    LiveTranslationLanguageColumn *m_target;
    LiveTranslationDivider *m_swapTopDivider;
    LiveTranslationDivider *m_swapBottomDivider;
    LiveTranslationDivider *m_divider;
    QLabel *m_footnote;
    std::optional<LiveTranslationPalette> m_palette;

    // What the columns were last drawn from.
    struct RenderedInputs {
        std::vector<LiveTranslationHelperLanguageOption> source;
        std::vector<LiveTranslationHelperLanguageOption> target;
        std::string sourceId;
        std::string targetId;
        QString search;
        LiveTranslationPalette palette;
    };
    std::optional<RenderedInputs> m_rendered;
};
