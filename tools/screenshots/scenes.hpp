#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QWidget;
class LiveTranslationHelperModel;
class LiveTranslationHelperView;

// One state of the panel to photograph: a snapshot, and optionally something to do with the view
// once it is on screen (open a picker, type a search) and the window to grab instead of the panel.
struct Scene {
    QString name;
    LiveTranslationHelperSnapshot snapshot;
    std::function<void(LiveTranslationHelperView &, LiveTranslationHelperModel &)> prepare;
    std::function<QWidget *(LiveTranslationHelperView &)> grabTarget;
};

// Every registered scene, in registration order within a file.
std::vector<Scene> &sceneRegistry();

// Registers scenes at start-up; one static instance per scenes_*.cpp file:
//     const SceneRegistration registration(&makeScenes);
struct SceneRegistration {
    explicit SceneRegistration(std::vector<Scene> (*make)());
};

// A snapshot that looks like a real session in progress: languages, audio sources, a status.
LiveTranslationHelperSnapshot sampleSnapshot();
