#pragma once

#include <QIcon>
#include <QString>

// The icon of the application an audio source names, or a null icon when there is none.
//
// Only ids that begin with "bundle:" (exactly, case-sensitive) name an application; the rest of
// the id is its desktop-file id ("bundle:org.gnome.Nautilus"). The icon comes from the installed
// desktop entry and the icon theme. Nothing is cached here: every call reads the desktop entry
// and draws the icon once to see that it renders, so callers that bind rows often keep what they
// got (the audio picker keeps one icon per source id while it is open).
QIcon applicationIcon(const QString &sourceId);

// The desktop-file id that a source id names, or an empty string when the id names no
// application that may be looked up (wrong prefix, nothing after it, or characters that no
// desktop-file id contains).
QString desktopFileIdForSource(const QString &sourceId);
