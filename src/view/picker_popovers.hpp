#pragma once

#include <QObject>

#include "palette.hpp"
#include "wire_types.hpp"

class LiveTranslationAudioPicker;
class LiveTranslationHelperModel;
class LiveTranslationHelperView;
class LiveTranslationLanguagePicker;
class LiveTranslationPopover;

// Hangs the two pickers on the root view's header buttons, each in a popover bound to the view's
// flag: the flag opens and closes the popover, and a dismissal (a press outside, Escape) or a
// chosen audio source sets the flag back to false. A closed picker draws nothing: opening draws it
// from the model's newest snapshot in the newest palette, so nothing offered while it was closed
// is half taken and then skipped.
class LiveTranslationPickerPopovers final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationPickerPopovers)

public:
    // languageSearch: the view's search text, kept while the view lives.
    LiveTranslationPickerPopovers(LiveTranslationHelperView *view,
        LiveTranslationHelperModel *model, QString *languageSearch);

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

    LiveTranslationPopover *languagePopover() const { return m_languagePopover; }
    LiveTranslationPopover *audioPopover() const { return m_audioPopover; }
    LiveTranslationLanguagePicker *languagePicker() const { return m_languagePicker; }
    LiveTranslationAudioPicker *audioPicker() const { return m_audioPicker; }

private:
    LiveTranslationHelperView *liveView() const;

    LiveTranslationHelperView *m_view;
    LiveTranslationHelperModel *m_model;
    LiveTranslationPalette m_palette = LiveTranslationPalette::light();
    LiveTranslationPopover *m_languagePopover;
    LiveTranslationLanguagePicker *m_languagePicker;
    LiveTranslationPopover *m_audioPopover;
    LiveTranslationAudioPicker *m_audioPicker;
};
