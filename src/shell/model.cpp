#include "model.hpp"

#include <utility>

LiveTranslationAppearance appearanceFromMode(const std::string &mode)
{
    if (mode == "light")
        return LiveTranslationAppearance::light;
    if (mode == "dark")
        return LiveTranslationAppearance::dark;
    return LiveTranslationAppearance::system;
}

LiveTranslationHelperModel::LiveTranslationHelperModel(QObject *parent)
    : QObject(parent)
{
}

void LiveTranslationHelperModel::applySnapshot(LiveTranslationHelperSnapshot snapshot)
{
    if (snapshot.generation < m_snapshot.generation)
        return;
    m_snapshot = std::move(snapshot);
    if (m_setAppearance)
        m_setAppearance(appearanceFromMode(m_snapshot.appearanceMode));
    emit snapshotChanged();
}

void LiveTranslationHelperModel::closePanel()
{
    if (m_snapshot.isSessionActive)
        sendCommand(LiveTranslationHelperCommand::stop());
    if (m_hidePanel)
        m_hidePanel();
    sendCommand(LiveTranslationHelperCommand::hide());
}

void LiveTranslationHelperModel::sendCommand(const LiveTranslationHelperCommand &command) const
{
    if (m_sendCommand)
        m_sendCommand(command);
}
