#include "scenes.hpp"

std::vector<Scene> &sceneRegistry()
{
    static std::vector<Scene> scenes;
    return scenes;
}

SceneRegistration::SceneRegistration(std::vector<Scene> (*make)())
{
    for (Scene &scene : make())
        sceneRegistry().push_back(std::move(scene));
}

LiveTranslationHelperSnapshot sampleSnapshot()
{
    LiveTranslationHelperSnapshot s;
    s.generation = 1;
    s.lifecycle = LiveTranslationHelperLifecycle::inactive;
    s.statusMessage = "Ready";
    s.isStartEnabled = true;
    s.sourceLanguage = "multi";
    s.targetLanguage = "en";
    s.sourceLanguages = {{"multi", "Detect automatically"}, {"de", "German"}, {"es", "Spanish"},
        {"fi", "Finnish"}, {"fr", "French"}, {"ja", "Japanese"}};
    s.targetLanguages = {{"en", "English"}, {"de", "German"}, {"es", "Spanish"}, {"fi", "Finnish"},
        {"fr", "French"}, {"ja", "Japanese"}};
    s.audioSources = {{"mac-audio", "Mac Audio"}, {"bundle:org.mozilla.firefox", "Firefox"},
        {"bundle:org.gnome.Totem", "Videos"}};
    s.selectedAudioSourceID = "mac-audio";
    s.actualAudioSourceDescription = "Mac Audio";
    return s;
}
