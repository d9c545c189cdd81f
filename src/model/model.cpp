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

void LiveTranslationHelperModel::applySnapshot(LiveTranslationHelperSnapshot &&snapshot)
{
    if (snapshot.generation < m_snapshot.generation)
        return;
    // Exchanged, not moved: the replaced snapshot's strings are not freed here but go back to
    // the caller, whose next snapshot can be read into them.
    std::swap(m_snapshot, snapshot);
    notifyReplaced();
}

void LiveTranslationHelperModel::applySnapshot(const LiveTranslationHelperSnapshot &snapshot)
{
    if (snapshot.generation < m_snapshot.generation)
        return;
    m_snapshot = snapshot;
    notifyReplaced();
}

void LiveTranslationHelperModel::notifyReplaced()
{
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
