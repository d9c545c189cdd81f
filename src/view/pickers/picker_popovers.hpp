#pragma once

#include <QObject>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QWidget;
class LiveTranslationAudioPicker;
class LiveTranslationHelperModel;
class LiveTranslationLanguagePicker;
class LiveTranslationPopover;
class LiveTranslationViewState;

// Hangs the two pickers on the header's language pair and audio buttons, each in a popover bound
// to its flag in the view state: the flag opens and closes the popover, and a dismissal (a press
// outside, Escape) or a chosen audio source sets the flag back to false. A popover that closes
// while its button is disabled (a session started meanwhile) hands the focus to the language pair
// button. A closed picker draws nothing: opening draws it
// from the model's newest snapshot in the newest palette, so nothing offered while it was closed
// is half taken and then skipped.
class LiveTranslationPickerPopovers final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationPickerPopovers)

public:
    // owner: the widget whose window the popovers belong to; state outlives neither.
    LiveTranslationPickerPopovers(QWidget *owner, LiveTranslationHelperModel *model,
        LiveTranslationViewState *state, QWidget *languagePairButton, QWidget *audioSourceButton);

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

    LiveTranslationPopover *languagePopover() const { return m_languagePopover; }
    LiveTranslationPopover *audioPopover() const { return m_audioPopover; }
    LiveTranslationLanguagePicker *languagePicker() const { return m_languagePicker; }
    LiveTranslationAudioPicker *audioPicker() const { return m_audioPicker; }

private:
    LiveTranslationHelperModel *m_model;
    LiveTranslationPalette m_palette = LiveTranslationPalette::light();
    LiveTranslationPopover *m_languagePopover;
    LiveTranslationLanguagePicker *m_languagePicker;
    LiveTranslationPopover *m_audioPopover;
    LiveTranslationAudioPicker *m_audioPicker;
};
