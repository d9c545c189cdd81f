#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QLabel;
class LiveTranslationLazyList;

// One column of the language picker: its header and a lazily built row per option, the rows whose
// id equals the chosen id marked. Pressing a row emits chosen with the option's id.
class LiveTranslationLanguageColumn final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationLanguageColumn)

public:
    static constexpr int kSpacing = 4;
    static constexpr int kHeaderPixelSize = 10;
    static constexpr int kHeaderPadding = 12;
    static constexpr int kHeaderBottomPadding = 3;
    static constexpr int kListPadding = 7;
    static constexpr int kRowSpacing = 2;
    static constexpr int kListEndPadding = 4;

    // header is shown as it is; identifier is the column's accessibility identifier, and its rows
    // carry it followed by ".option." and their id.
    LiveTranslationLanguageColumn(
        const QString &header, const QString &identifier, QWidget *parent = nullptr);

    // Idempotent: unchanged inputs touch no widget.
    void render(std::vector<LiveTranslationHelperLanguageOption> options,
        const std::string &chosenId, const LiveTranslationPalette &palette);

    void scrollToTop();
    void scrollToChosen();
    LiveTranslationLazyList *list() const { return m_list; }
    const std::vector<LiveTranslationHelperLanguageOption> &options() const { return m_options; }

signals:
    void chosen(const std::string &id);

private:
    QWidget *makeRow(QWidget *parent);
    void bindRow(QWidget *entry, int index);
    int firstChosenIndex() const;

    QString m_identifier;
    QLabel *m_header;
    LiveTranslationLazyList *m_list;
    std::vector<LiveTranslationHelperLanguageOption> m_options;
    std::string m_chosenId;
    LiveTranslationPalette m_palette = LiveTranslationPalette::light();
    bool m_rendered = false;
};
