#pragma once

// Whether the desktop blends windows that have an alpha channel with what lies under them.
// On X11 without a compositing manager it does not: transparent pixels show black, so shaped
// windows need a mask there. Asked again on every call: a compositor may start or stop.
bool translucentWindowsComposited();
