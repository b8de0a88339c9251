// A hidden copy of a viewer control in the light palette, so that a view shown
// dark still prints as the light view would: dark-on-white, in the light
// colours.
#pragma once

#include <windows.h>

#include "host/view_kind.h"

// A new hidden control of the same class with the same text and selection:
// highlighted, header lines included, for a Java view; plain text otherwise.
// The caller destroys it. Null when the window or the text's copy cannot be
// made.
HWND CreateLightCopy(HWND control, ViewKind kind);
