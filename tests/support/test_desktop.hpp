#pragma once

// The desktop every Qt test program runs on: a temporary data folder that replaces the system's
// before GIO and Qt read it, with a few installed applications and a small icon theme, set up by
// the one entry point of those programs (qt_test_main.cpp).

#include <QString>

namespace testdesktop {

// The data folder (applications, icons): the "data" folder of the temporary one.
QString dataDir();

// Installed, with a themed icon that is a red square of 16 pixels; and not installed.
inline const QString kInstalledApp = QStringLiteral("bundle:org.example.Installed");
inline const QString kMissingApp = QStringLiteral("bundle:org.example.Missing");
// Installed, its icon an image file named by its path in the desktop entry and kept in the
// first icon search folder.
inline const QString kFileIconApp = QStringLiteral("bundle:org.example.FileIcon");
inline const QString kFileIconName = QStringLiteral("tavu-file-icon.png");

// Sets up the desktop under root; called once, before the application is made.
void install(const QString &root);

} // namespace testdesktop
