#include "picker_popovers.hpp"

#include <QAbstractButton>

#include "audio_picker.hpp"
#include "language_picker.hpp"
#include "popover.hpp"
#include "root_view.hpp"

LiveTranslationPickerPopovers::LiveTranslationPickerPopovers(
    LiveTranslationHelperView *view, LiveTranslationHelperModel *model, QString *languageSearch)
    : QObject(view)
    , m_view(view)
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
            if (presented)
                m_languagePopover->present(m_view->languagePairButton());
            else
                m_languagePopover->dismiss();
        });
    connect(view, &LiveTranslationHelperView::audioPresentedChanged, this, [this](bool presented) {
        if (presented)
            m_audioPopover->present(m_view->audioSourceButton());
        else
            m_audioPopover->dismiss();
    });
    connect(m_languagePopover, &LiveTranslationPopover::dismissed, view,
        [view] { view->setLanguagesPresented(false); });
    connect(m_audioPopover, &LiveTranslationPopover::dismissed, view,
        [view] { view->setAudioPresented(false); });
    connect(m_audioPicker, &LiveTranslationAudioPicker::closeRequested, view,
        [view] { view->setAudioPresented(false); });
}

void LiveTranslationPickerPopovers::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    m_languagePopover->setColors(palette);
    m_languagePicker->render(snapshot, palette);
    m_audioPopover->setColors(palette);
    m_audioPicker->render(snapshot, palette);
}
