#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QHash>
#include <QIcon>
#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QLabel;
class LiveTranslationCaptureStatus;
class LiveTranslationDivider;
class LiveTranslationHelperModel;
class LiveTranslationLazyList;

// The audio source picker, the content of the popover under the audio button: the sources of
// the snapshot with their icons (lazily built rows, the chosen one marked), an "APPLICATIONS"
// header above the second entry, and the capture status below. Choosing a source sends one
// command and asks for the popover to close.
class LiveTranslationAudioPicker final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationAudioPicker)

public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 330;
    static constexpr int kTitlePixelSize = 13;
    static constexpr int kTitleSidePadding = 16;
    static constexpr int kTitleTop = 15;
    static constexpr int kTitleBottom = 10;
    static constexpr int kListPadding = 8;
    static constexpr int kEntrySpacing = 3;
    static constexpr int kListEndPadding = 6;
    static constexpr int kHeaderPixelSize = 10;
    static constexpr int kHeaderSidePadding = 9;
    static constexpr int kHeaderTop = 9;
    static constexpr int kHeaderBottom = 3;

    explicit LiveTranslationAudioPicker(
        LiveTranslationHelperModel *model, QWidget *parent = nullptr);

    // Redraws the list, the marks and the capture status. Idempotent: unchanged inputs touch no
    // widget. A source's icon is looked up once and kept for its id until refreshIcons().
    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

    // Forgets the icons looked up and draws the built rows with fresh ones: on opening (an
    // application may have been installed meanwhile) and when the icon theme changes.
    void refreshIcons();

    LiveTranslationLazyList *list() const { return m_list; }
    LiveTranslationCaptureStatus *captureStatus() const { return m_status; }
    // The height of the "APPLICATIONS" header in the current fonts.
    int headerHeight() const;

signals:
    // A source was chosen and its command sent: the popover should close.
    void closeRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    QIcon iconFor(const QString &sourceId);
    QWidget *makeEntry(QWidget *parent);
    void bindEntry(QWidget *entry, int index);
    void choose(int index);

    LiveTranslationHelperModel *m_model;
    QLabel *m_title;
    LiveTranslationLazyList *m_list;
    LiveTranslationDivider *m_divider;
    LiveTranslationCaptureStatus *m_status;

    std::vector<LiveTranslationHelperAudioOption> m_sources;
    std::string m_chosenId;
    std::optional<LiveTranslationPalette> m_palette;
    bool m_listRendered = false;
    QHash<QString, QIcon> m_icons; // by source id; a null icon: the source has none
};
