#include "picker_popovers.hpp"

#include <QAbstractButton>

#include "audio_picker.hpp"
#include "language_picker.hpp"
#include "model.hpp"
#include "popover.hpp"
#include "root_view.hpp"

LiveTranslationPickerPopovers::LiveTranslationPickerPopovers(
    LiveTranslationHelperView *view, LiveTranslationHelperModel *model, QString *languageSearch)
    : QObject(view)
    , m_view(view)
    , m_model(model)
    , m_languagePopover(new LiveTranslationPopover(view))
    , m_languagePicker(new LiveTranslationLanguagePicker(model, languageSearch))
    , m_audioPopover(new LiveTranslationPopover(view))
    , m_audioPicker(new LiveTranslationAudioPicker(model))
{
    m_languagePopover->setObjectName(QStringLiteral("liveTranslation.languagePopover"));
    m_languagePopover->setAccessibleName(LiveTranslationLanguagePicker::tr("Languages"));
    m_languagePopover->setContent(m_languagePicker);
    m_audioPopover->setObjectName(QStringLiteral("liveTranslation.audioSourcePopover"));
    m_audioPopover->setAccessibleName(LiveTranslationAudioPicker::tr("Audio source"));
    m_audioPopover->setContent(m_audioPicker);

    connect(
        view, &LiveTranslationHelperView::languagesPresentedChanged, this, [this](bool presented) {
            if (presented) {
                m_languagePicker->render(m_model->snapshot(), m_palette);
                m_languagePopover->present(m_view->languagePairButton());
            } else {
                m_languagePopover->dismiss();
            }
        });
    connect(view, &LiveTranslationHelperView::audioPresentedChanged, this, [this](bool presented) {
        if (presented) {
            m_audioPicker->render(m_model->snapshot(), m_palette);
            m_audioPopover->present(m_view->audioSourceButton());
        } else {
            m_audioPopover->dismiss();
        }
    });
    connect(m_languagePopover, &LiveTranslationPopover::dismissed, this, [this] {
        if (LiveTranslationHelperView *v = liveView())
            v->setLanguagesPresented(false);
    });
    const auto closeAudio = [this] {
        if (LiveTranslationHelperView *v = liveView())
            v->setAudioPresented(false);
    };
    connect(m_audioPopover, &LiveTranslationPopover::dismissed, this, closeAudio);
    connect(m_audioPicker, &LiveTranslationAudioPicker::closeRequested, this, closeAudio);
}

LiveTranslationHelperView *LiveTranslationPickerPopovers::liveView() const
{
    // While the view is being destroyed it hides its window, which dismisses the popovers; by
    // then only its QWidget part is left, and the cast finds no view to tell.
    return qobject_cast<LiveTranslationHelperView *>(parent());
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
