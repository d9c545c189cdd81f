#include "view_state.hpp"

LiveTranslationViewState::LiveTranslationViewState(QObject *parent)
    : QObject(parent)
{
}

void LiveTranslationViewState::setLanguagesPresented(bool presented)
{
    if (presented == m_languagesPresented)
        return;
    m_languagesPresented = presented;
    emit languagesPresentedChanged(presented);
}

void LiveTranslationViewState::setAudioPresented(bool presented)
{
    if (presented == m_audioPresented)
        return;
    m_audioPresented = presented;
    emit audioPresentedChanged(presented);
}

void LiveTranslationViewState::setLanguageSearch(const QString &search)
{
    m_languageSearch = search;
}
