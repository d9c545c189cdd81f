#pragma once

// Shared helpers of the pickers' widget tests: a model that records commands, snapshots with
// language and audio lists, and an installed application with an icon for the icon lookups.

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "model.hpp"

namespace pickertest {

// A model whose commands are recorded in order.
struct RecordingModel {
    LiveTranslationHelperModel model;
    std::vector<LiveTranslationHelperCommand> commands;

    RecordingModel();
    // The commands as "wire_name" or "wire_name:value".
    std::vector<std::string> sent() const;
};

// n languages "Language 0000" .. with ids "l0" .., in both lists.
LiveTranslationHelperSnapshot withLanguages(
    int count, std::string source = "l1", std::string target = "l2");

// The application installed for the tests (its icon is a red square) and one that is not.
inline const QString kInstalledApp = QStringLiteral("bundle:org.example.Installed");
inline const QString kMissingApp = QStringLiteral("bundle:org.example.Missing");

// The built row (or other widget) with this object name under root, null when there is none.
QWidget *findNamed(const QWidget *root, const QString &objectName);

// Every visible widget under root whose object name starts with prefix, top to bottom.
std::vector<QWidget *> visibleNamed(const QWidget *root, const QString &prefix);

// Waits until window is the application's active window. (QTest's own wait takes a tool window
// for active as soon as its parent is.)
bool waitUntilActive(QWidget *window);

// A left click in the middle of a widget.
void click(QWidget *widget);

// A key press on the widget that has the keyboard focus.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace pickertest
