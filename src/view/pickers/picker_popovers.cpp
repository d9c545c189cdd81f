#include "picker_popovers.hpp"

#include "common/view_state.hpp"
#include "model.hpp"
#include "pickers/audio_picker.hpp"
#include "pickers/language_picker.hpp"
#include "pickers/popover.hpp"

LiveTranslationPickerPopovers::LiveTranslationPickerPopovers(QWidget *owner,
    LiveTranslationHelperModel *model, LiveTranslationViewState *state, QWidget *languagePairButton,
    QWidget *audioSourceButton)
    : QObject(owner)
    , m_model(model)
    , m_languagePopover(new LiveTranslationPopover(owner))
    , m_languagePicker(new LiveTranslationLanguagePicker(model, state))
    , m_audioPopover(new LiveTranslationPopover(owner))
    , m_audioPicker(new LiveTranslationAudioPicker(model))
{
    m_languagePopover->setObjectName(QStringLiteral("liveTranslation.languagePopover"));
    m_languagePopover->setAccessibleName(LiveTranslationLanguagePicker::tr("Languages"));
    m_languagePopover->setContent(m_languagePicker);
    m_audioPopover->setObjectName(QStringLiteral("liveTranslation.audioSourcePopover"));
    m_audioPopover->setAccessibleName(LiveTranslationAudioPicker::tr("Audio source"));
    m_audioPopover->setContent(m_audioPicker);
    m_audioPopover->setFocusFallback(languagePairButton);

    connect(state, &LiveTranslationViewState::languagesPresentedChanged, this,
        [this, languagePairButton](bool presented) {
            if (presented) {
                m_languagePicker->render(m_model->snapshot(), m_palette);
                m_languagePopover->present(languagePairButton);
            } else {
                m_languagePopover->dismiss();
            }
        });
    connect(state, &LiveTranslationViewState::audioPresentedChanged, this,
        [this, audioSourceButton](bool presented) {
            if (presented) {
                m_audioPicker->refreshIcons();
                m_audioPicker->render(m_model->snapshot(), m_palette);
                m_audioPopover->present(audioSourceButton);
            } else {
                m_audioPopover->dismiss();
            }
        });
    // The state is the context: while the owner is destroyed it hides its window, which dismisses
    // the popovers after the state is gone, and then there is no flag left to set.
    connect(m_languagePopover, &LiveTranslationPopover::dismissed, state,
        [state] { state->setLanguagesPresented(false); });
    const auto closeAudio = [state] { state->setAudioPresented(false); };
    connect(m_audioPopover, &LiveTranslationPopover::dismissed, state, closeAudio);
    connect(m_audioPicker, &LiveTranslationAudioPicker::closeRequested, state, closeAudio);
}

void LiveTranslationPickerPopovers::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    m_palette = palette;
    m_languagePopover->setColors(palette);
    m_audioPopover->setColors(palette);
    // Filtering thousands of names, or looking up icons, for a closed picker would be wasted.
    if (m_languagePopover->isPresented())
        m_languagePicker->render(snapshot, palette);
    if (m_audioPopover->isPresented())
        m_audioPicker->render(snapshot, palette);
}
